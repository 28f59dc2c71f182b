// The main window: building the frame, wiring its items to their commands, the hints, shut-down,
// the help and About windows and the data-entry window's events.
#include "ui/main/Dorvan_Hlavny.h"

#include "ui/allocation/Cooperova_Metoda.h"

#include "ui/common/UserDialogs.h"
#include "ui/entry/Vstupne_Udaje.h"
#include "ui/help/Pomoc_Napoveda.h"
#include "ui/help/Program_Autori.h"
#include "ui/main/DataModeSwitch.h"
#include "ui/main/MainStatus.h"
#include "ui/main/NetworkWindows.h"
#include "ui/main/StatusBar_DrawPanel.h"
#include "ui/main/TextEditCommands.h"
#include "ui/main/WindowMenu.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMenu>
#include <QPainter>
#include <QRadioButton>
#include <QStatusTipEvent>
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
    actions_ = buildMainActions(*this);
    status_ = std::make_unique<MainStatus>(*this);
    dataMode_ = std::make_unique<DataModeSwitch>(*actions_.radioManual, *actions_.radioPicture, project_);

    mdiArea_ = new BackgroundMdiArea(this);
    setCentralWidget(mdiArea_);
    textEdits_ = new TextEditCommands(*this, actions_, states_);
    windowMenu_ = new WindowMenu(*mdiArea_, actions_, states_, this);
    connectCommands();

    FormCreate();
    states_.apply(MainEvent::ProgramStart);
    windowMenu_->update();
    status_->startClock();

    // The About box lives for the whole run and is only shown and hidden.
    aboutBox_ = new TProgramAutori(dialogs_, this);
    aboutBox_->hide();
}

TDorvan_Central::~TDorvan_Central()
{
    // Children go first, while this window is still whole: their "destroyed" handlers look at
    // the window menu.
    textEdits_->stop();
    windowMenu_->stop();
    delete mdiArea_;
    mdiArea_ = nullptr;
}

void TDorvan_Central::connectCommands()
{
    const MainActions& m = actions_;
    connect(m.NovyVU, &QAction::triggered, this, &TDorvan_Central::NovyVUClick);
    connect(m.OtvorVU, &QAction::triggered, this, &TDorvan_Central::OtvorVUClick);
    connect(m.UlozAkoVU, &QAction::triggered, this, &TDorvan_Central::UlozAkoVUClick);
    connect(m.ImportujMiesta, &QAction::triggered, this, &TDorvan_Central::ImportujMiestaClick);
    connect(m.ImportujVzdialenosti, &QAction::triggered, this, &TDorvan_Central::ImportujVzdialenostiClick);
    connect(m.ExportujVysledok, &QAction::triggered, this, &TDorvan_Central::ExportujVysledokClick);
    connect(m.KopirovatVysledok, &QAction::triggered, this, &TDorvan_Central::KopirovatVysledokClick);
    connect(m.ZostavaPdf, &QAction::triggered, this, &TDorvan_Central::ZostavaPdfClick);
    connect(m.TlacitZostavu, &QAction::triggered, this, &TDorvan_Central::TlacitZostavuClick);
    connect(m.Tlacit, &QAction::triggered, this, &TDorvan_Central::TlacitClick);
    connect(m.Zatvor, &QAction::triggered, this, &TDorvan_Central::ZatvorClick);
    connect(m.Koniec, &QAction::triggered, this, &TDorvan_Central::KoniecClick);
    connect(m.Cooper, &QAction::triggered, this, &TDorvan_Central::CooperClick);
    connect(m.Siete, &QAction::triggered, this, &TDorvan_Central::SieteClick);
    connect(m.Pomoc, &QAction::triggered, this, &TDorvan_Central::PomocClick);
    connect(m.Autori, &QAction::triggered, this, &TDorvan_Central::AutoriClick);
    connect(m.newButton, &QToolButton::clicked, this, &TDorvan_Central::NovyVUClick);
    connect(m.openButton, &QToolButton::clicked, this, &TDorvan_Central::OtvorVUClick);
    connect(m.saveToolButton, &QToolButton::clicked, this, &TDorvan_Central::UlozAkoVUClick);
    connect(m.printToolButton, &QToolButton::clicked, this, &TDorvan_Central::TlacitClick);
    connect(m.quitButton, &QToolButton::clicked, this, &TDorvan_Central::KoniecClick);
    // The file menu checks its items that depend on other windows whenever it opens.
    connect(m.fileMenu, &QMenu::aboutToShow, this, [this] {
        updateExportAction();
        states_.showDistanceImport(entryWindowOpen());
    });
}

void TDorvan_Central::FormCreate()
{
    // The hint handler is event(): status tips of menu items and controls land in panel 2.
    project_.resetAtStart();
    auto& s = project_.State;
    s.ProgramTitle = dorvan::ProgramTitleText;
    caption_.showTitle();
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

bool TDorvan_Central::pictureMode() const
{
    return dataMode_->pictureMode();
}

QMdiSubWindow* TDorvan_Central::addChildWindow(QWidget* window, bool maximised)
{
    return windowMenu_->add(window, maximised);
}

// ----------------------------------------------------------------------------------------------
// Status bar

PanelStatusBar* TDorvan_Central::statusPanels() const
{
    return status_->bar();
}

void TDorvan_Central::setStatusPanelText(int panel, const QString& text)
{
    status_->setText(panel, text);
}

QString TDorvan_Central::statusPanelText(int panel) const
{
    return status_->text(panel);
}

QString TDorvan_Central::changedValuesText()
{
    return ChangedValues;
}

bool TDorvan_Central::event(QEvent* event)
{
    // The hint handler: the status tip of the menu item or control under the mouse goes to
    // panel 2 (instead of replacing the whole bar, which is what a main window does by default).
    if (event->type() == QEvent::StatusTip && status_ != nullptr) {
        setStatusPanelText(2, static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

// ----------------------------------------------------------------------------------------------
// Shut-down

void TDorvan_Central::closeEvent(QCloseEvent* event)
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
    states_.apply(MainEvent::FirstCountAccepted);
}

void TDorvan_Central::entryLastPlaceEntered()
{
    states_.apply(MainEvent::LastPlaceEntered);
}

void TDorvan_Central::entrySettingsSwitched(bool on)
{
    states_.apply(on ? MainEvent::SettingsSwitchedOn : MainEvent::SettingsSwitchedOff);
}

void TDorvan_Central::entryWindowClosed()
{
    states_.apply(MainEvent::EntryWindowClosed);
    caption_.showTitle();
    setStatusPanelText(1, QString());
}

void TDorvan_Central::entryProgress(const QString& text, int percent)
{
    status_->showStepProgress(text, percent);
}

void TDorvan_Central::entryProgressEnded()
{
    status_->endStepProgress();
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
