// The main window: building the frame, the enabled-state table, the status bar and hints,
// shut-down, the help and About windows and the edit commands.
#include "ui/main/Dorvan_Hlavny.h"

#include "ui/allocation/Cooperova_Metoda.h"

#include "ui/common/UserDialogs.h"
#include "ui/entry/Vstupne_Udaje.h"
#include "ui/help/Pomoc_Napoveda.h"
#include "ui/help/Program_Autori.h"
#include "ui/main/NetworkWindows.h"
#include "ui/main/StatusBar_DrawPanel.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QShortcutEvent>
#include <QStatusTipEvent>
#include <QTextEdit>
#include <QTime>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {
const QString ChangedValues = u"ZMENENÉ HODNOTY !!!"_s;
const QString QuitQuestion = u"Skončiť program ?!!"_s;
} // namespace

namespace {

// The client area of the frame, with the stored background picture stretched over it.
class BackgroundMdiArea : public QMdiArea {
public:
    explicit BackgroundMdiArea(QWidget* parent)
        : QMdiArea(parent)
        , picture_(QStringLiteral(":/main_window/background.png"))
    {
        setObjectName("MdiArea");
        // The picture is the window's Image1.
        viewport()->setObjectName("Image1");
    }
    const QImage& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter p(viewport());
        p.setClipRegion(event->region());
        const QRect area = viewport()->rect();
        if (picture_.isNull()) {
            p.fillRect(area, palette().color(QPalette::Dark));
            return;
        }
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(area, picture_);
    }

private:
    QImage picture_;
};

// The long time format of the system without its time zone: the clock shows the local time
// only, as hours, minutes and seconds in the order and separators the system uses.
QString clockTimeFormat(const QLocale& locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        out += c;
    }
    return out.trimmed();
}

} // namespace

// ----------------------------------------------------------------------------------------------
// Construction

TDorvan_Central::TDorvan_Central(dorvan::UserDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent)
    , dialogs_(dialogs)
    , networkWindows_(std::make_unique<NetworkWindows>(*this))
{
    setObjectName("Dorvan_Central");
    // Child windows without an icon of their own show this one.
    setWindowIcon(QIcon(QStringLiteral(":/main_window/icons/dorvan.png")));
    resize(859, 726 + 35 + 25);

    // The frame's own controls are created before the client area, so that a search by name
    // from the frame meets them before the same names inside the child windows.
    createActions();
    createMenus();
    createToolBar();
    createStatusBar();

    mdiArea_ = new BackgroundMdiArea(this);
    setCentralWidget(mdiArea_);

    timer_ = new QTimer(this);
    timer_->setObjectName("Timer1");
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, &TDorvan_Central::onClockTick);

    connect(qApp, &QApplication::focusChanged, this, &TDorvan_Central::focusMoved);
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, [this] { updateWindowMenu(); });

    FormCreate();
    applyEvent(MainEvent::ProgramStart);
    updateEditActions();
    updateWindowMenu();
    timer_->start();

    // The About box lives for the whole run and is only shown and hidden.
    aboutBox_ = new TProgramAutori(dialogs_, this);
    aboutBox_->hide();
}

TDorvan_Central::~TDorvan_Central()
{
    // Children go first, while this window is still whole: their "destroyed" handlers look at
    // the window menu.
    disconnect(qApp, nullptr, this, nullptr);
    shuttingDown_ = true;
    delete mdiArea_;
    mdiArea_ = nullptr;
}

void TDorvan_Central::FormCreate()
{
    // The hint handler is event(): status tips of menu items and controls land in panel 2.
    project_.resetAtStart();
    auto& s = project_.State;
    s.ProgramTitle = dorvan::ProgramTitleText;
    setCaption(programTitle());
    s.MapPictureOwned = false;
    for (int i = 0; i < PanelStatusBar::PanelCount; ++i)
        setStatusPanelText(i, QString());
    s.PlaceCount = 0;
    s.EntryWindowClosed = true;
    s.EntryStarted = false;
    s.FirstEntryMode = true;
    s.PlacesComplete = false;
    s.AddPlacesMode = false;
    s.OpenCriterionPages = 0;
    s.EntryClosable = false;
    s.CoordsDiffer = false;
}

// ----------------------------------------------------------------------------------------------
// Enabled states

namespace {

enum class Set : std::uint8_t { Keep, On, Off, OnIfCoordsDiffer };

struct EnabledRow {
    Set save; // UlozAkoVU
    Set print; // Tlacit
    Set close; // Zatvor
    Set cooper; // Cooper
    Set network; // Siete
    Set fileButtons; // ToolButton4, ToolButton5
    Set modeGroup; // GroupBox1
    Set modeButtons; // RadioButton1, RadioButton2
};

constexpr EnabledRow rowFor(MainEvent event)
{
    constexpr Set K = Set::Keep, On = Set::On, Off = Set::Off;
    switch (event) {
    case MainEvent::ProgramStart:
        return { Off, Off, Off, Off, Off, Off, Off, Off };
    case MainEvent::NewProject:
        return { On, On, On, K, K, On, On, On };
    case MainEvent::OpenCompleted:
        return { On, On, On, Set::OnIfCoordsDiffer, On, On, K, Off };
    case MainEvent::OpenCancelled:
        return { Off, Off, Off, K, K, Off, K, K };
    case MainEvent::CooperOpened:
        return { On, On, On, K, K, K, K, K };
    case MainEvent::ProjectClosed:
        return { Off, K, K, K, K, K, K, K };
    case MainEvent::EntryWindowClosed:
        return { Off, Off, Off, Off, Off, K, Off, Off };
    case MainEvent::FirstCountAccepted:
        return { K, K, K, K, K, K, Off, Off };
    case MainEvent::LastPlaceEntered:
        return { K, K, K, Set::OnIfCoordsDiffer, On, K, K, K };
    case MainEvent::SettingsSwitchedOn:
        return { K, K, K, Set::OnIfCoordsDiffer, K, K, K, K };
    case MainEvent::SettingsSwitchedOff:
        return { K, K, K, Off, K, K, K, K };
    }
    return { K, K, K, K, K, K, K, K };
}

template <typename T> void applySet(T* target, Set how, bool coordsDiffer)
{
    if (target == nullptr)
        return;
    switch (how) {
    case Set::Keep:
        break;
    case Set::On:
        target->setEnabled(true);
        break;
    case Set::Off:
        target->setEnabled(false);
        break;
    case Set::OnIfCoordsDiffer:
        if (coordsDiffer)
            target->setEnabled(true);
        break;
    }
}

} // namespace

void TDorvan_Central::applyEvent(MainEvent event)
{
    const EnabledRow row = rowFor(event);
    const bool differ = project_.State.CoordsDiffer;
    applySet(UlozAkoVU, row.save, differ);
    applySet(Tlacit, row.print, differ);
    applySet(Zatvor, row.close, differ);
    applySet(Cooper, row.cooper, differ);
    applySet(Siete, row.network, differ);
    if (row.network == Set::On)
        networkItemEnabled_ = true;
    else if (row.network == Set::Off)
        networkItemEnabled_ = false;
    applySet(saveToolButton, row.fileButtons, differ);
    applySet(printToolButton, row.fileButtons, differ);
    applySet(modeGroup_, row.modeGroup, differ);
    applySet(radioManual_, row.modeButtons, differ);
    applySet(radioPicture_, row.modeButtons, differ);
}

// ----------------------------------------------------------------------------------------------
// Caption and status bar

QString TDorvan_Central::programTitle() const
{
    return QString::fromStdString(project_.State.ProgramTitle);
}

void TDorvan_Central::setCaption(const QString& caption)
{
    caption_ = caption;
    setWindowTitle(caption);
}

void TDorvan_Central::setStatusPanelText(int panel, const QString& text)
{
    if (statusBar_ != nullptr)
        statusBar_->setPanelText(panel, text);
}

QString TDorvan_Central::statusPanelText(int panel) const
{
    return statusBar_ != nullptr ? statusBar_->panelText(panel) : QString();
}

QString TDorvan_Central::changedValuesText()
{
    return ChangedValues;
}

void TDorvan_Central::onClockTick()
{
    const QLocale locale = QLocale::system();
    QString text = QStringLiteral(" ");
    text += locale.toString(QDate::currentDate(), QLocale::ShortFormat);
    text += QStringLiteral("  -  ");
    text += locale.toString(QTime::currentTime(), clockTimeFormat(locale));
    setStatusPanelText(0, text);
}

bool TDorvan_Central::event(QEvent* event)
{
    // The hint handler: the status tip of the menu item or control under the mouse goes to
    // panel 2 (instead of replacing the whole bar, which is what a main window does by default).
    if (event->type() == QEvent::StatusTip) {
        setStatusPanelText(2, static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

// ----------------------------------------------------------------------------------------------
// Shut-down

void TDorvan_Central::closeEvent(QCloseEvent* event)
{
    ZatvorCentral(event);
}

void TDorvan_Central::ZatvorCentral(QCloseEvent* event)
{
    if (dorvan::confirmKeepingWork(
            dialogs_, this, QuitQuestion, project_.State.UnsavedChanges, [this] { return saveProjectAs(); }))
        event->accept();
    else
        event->ignore();
}

void TDorvan_Central::KoniecClick()
{
    close();
}

// ----------------------------------------------------------------------------------------------
// Help and About

TPomocNapoveda* TDorvan_Central::helpWindow() const
{
    return helpWindow_;
}

void TDorvan_Central::PomocClick()
{
    // One help window: while it is there and not on its way out, the command does nothing.
    if (helpWindow_ != nullptr && !helpWindow_->childWindow().isClosing())
        return;
    auto* help = new TPomocNapoveda(project_, dialogs_, mdiArea_);
    help->setAttribute(Qt::WA_DeleteOnClose);
    helpWindow_ = help;
    addChildWindow(help);
}

void TDorvan_Central::AutoriClick()
{
    if (aboutBox_ != nullptr)
        aboutBox_->exec();
}

// ----------------------------------------------------------------------------------------------
// EntryHost

void TDorvan_Central::entryValuesChanged()
{
    setStatusPanelText(1, changedValuesText());
}

void TDorvan_Central::entryFirstCountAccepted()
{
    applyEvent(MainEvent::FirstCountAccepted);
}

void TDorvan_Central::entryLastPlaceEntered()
{
    applyEvent(MainEvent::LastPlaceEntered);
}

void TDorvan_Central::entrySettingsSwitched(bool on)
{
    applyEvent(on ? MainEvent::SettingsSwitchedOn : MainEvent::SettingsSwitchedOff);
}

void TDorvan_Central::entryWindowClosed()
{
    applyEvent(MainEvent::EntryWindowClosed);
    setCaption(programTitle());
    setStatusPanelText(1, QString());
}

bool TDorvan_Central::cooperWindowOpen() const
{
    return cooperWindow_ != nullptr && !cooperWindow_->childWindow().isClosing();
}

bool TDorvan_Central::entryWindowOpen() const
{
    return entryWindow_ != nullptr && !entryWindow_->childWindow().isClosing();
}

void TDorvan_Central::closeCooperWindow()
{
    if (cooperWindow_ != nullptr)
        cooperWindow_->childWindow().closeByProgram();
}

void TDorvan_Central::closeProjectWindows()
{
    if (networkWindows_->networkWindowOpen())
        networkWindows_->closeNetworkWindow();
    // The allocation window shows this project, so it goes with it, also when places were added
    // after it opened (that completion clears EntryStarted).
    if (cooperWindowOpen())
        closeCooperWindow();
    if (networkWindows_->graphWindowOpen())
        networkWindows_->closeGraphWindow();
}

// ----------------------------------------------------------------------------------------------
// Edit commands on the focused text field

bool TDorvan_Central::isTextField(const QWidget* w)
{
    if (w == nullptr)
        return false;
    if (qobject_cast<const QLineEdit*>(w) || qobject_cast<const QTextEdit*>(w)
        || qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w))
        return true;
    const auto* combo = qobject_cast<const QComboBox*>(w);
    return combo != nullptr && combo->isEditable();
}

void TDorvan_Central::focusMoved(QWidget* /*old*/, QWidget* now)
{
    if (shuttingDown_)
        return;
    if (isTextField(now) && now->window() == this) {
        textTarget_ = now;
    } else if (now != nullptr && now->window() == this && !qobject_cast<QMenuBar*>(now)) {
        textTarget_ = nullptr;
    }
    // Focus in a menu, a dialog or another window leaves the last text field as the target, so
    // the menu commands still reach it.
    updateEditActions();
}

void TDorvan_Central::updateEditActions()
{
    const bool on = textTarget_ != nullptr;
    for (QAction* a : { KrokSpat, OznacVsetko, Vlozit, Kopiruj, Vystrihni, Zmazat })
        a->setEnabled(on);
}

void TDorvan_Central::runEditCommand(EditCommand command)
{
    QWidget* target = textTarget_;
    if (target == nullptr)
        return;
    // Spin boxes and editable combo boxes keep their text in a line edit of their own.
    QLineEdit* line = qobject_cast<QLineEdit*>(target);
    if (line == nullptr) {
        if (auto* combo = qobject_cast<QComboBox*>(target))
            line = combo->lineEdit();
        else if (qobject_cast<QAbstractSpinBox*>(target))
            line = target->findChild<QLineEdit*>();
    }
    if (line != nullptr) {
        switch (command) {
        case EditCommand::Undo:
            line->undo();
            break;
        case EditCommand::SelectAll:
            line->selectAll();
            break;
        case EditCommand::Paste:
            line->paste();
            break;
        case EditCommand::Copy:
            line->copy();
            break;
        case EditCommand::Cut:
            line->cut();
            break;
        case EditCommand::Delete:
            if (line->hasSelectedText() && !line->isReadOnly())
                line->del();
            break;
        }
        return;
    }
    auto run = [command](auto* edit) {
        switch (command) {
        case EditCommand::Undo:
            edit->undo();
            break;
        case EditCommand::SelectAll:
            edit->selectAll();
            break;
        case EditCommand::Paste:
            edit->paste();
            break;
        case EditCommand::Copy:
            edit->copy();
            break;
        case EditCommand::Cut:
            edit->cut();
            break;
        case EditCommand::Delete:
            if (!edit->isReadOnly()) {
                QTextCursor c = edit->textCursor();
                c.removeSelectedText();
                edit->setTextCursor(c);
            }
            break;
        }
    };
    if (auto* text = qobject_cast<QTextEdit*>(target))
        run(text);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(target))
        run(plain);
}

bool TDorvan_Central::eventFilter(QObject* watched, QEvent* event)
{
    // Ctrl+Z is both "Zavrieť" and "&Undo". When both are enabled the key is ambiguous and
    // neither would run; it then goes to Undo while a text field has the focus and to
    // "Zavrieť" otherwise. (A text field with the focus usually takes Ctrl+Z itself.)
    if (event->type() == QEvent::Shortcut && (watched == Zatvor || watched == KrokSpat)) {
        auto* se = static_cast<QShortcutEvent*>(event);
        if (se->isAmbiguous()) {
            QWidget* focus = QApplication::focusWidget();
            if (isTextField(focus) && focus->window() == this)
                KrokSpat->trigger();
            else if (Zatvor->isEnabled())
                Zatvor->trigger();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
