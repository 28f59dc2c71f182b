// The main window: building the frame and its parts, wiring the items to their commands, the
// hints, shut-down, and the help and About windows.
#include "ui/main/Dorvan_Hlavny.h"

#include "ui/allocation/Cooperova_Metoda.h"

#include "ui/common/UserDialogs.h"
#include "ui/entry/Vstupne_Udaje.h"
#include "ui/help/Pomoc_Napoveda.h"
#include "ui/help/Program_Autori.h"
#include "ui/main/DataModeSwitch.h"
#include "ui/main/MainStatus.h"
#include "ui/main/NetworkWindows.h"
#include "ui/main/ProjectFileCommands.h"
#include "ui/main/ProjectSaving.h"
#include "ui/main/ProjectWindows.h"
#include "ui/main/ResultCommands.h"
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
    textEdits_ = new TextEditCommands(*this, actions_, states_, project_);
    // "ZMENENÉ HODNOTY !!!" follows the history: shown when an edit, an undo or a redo leaves the
    // project unsaved, gone when the history is back at the save. After an undo or a redo, any
    // other notice there (an import's count) tells of a state no longer shown.
    const auto showUnsavedMark = [this] {
        if (project_.State.UnsavedChanges)
            setStatusPanelText(1, MainStatus::changedValuesText());
        else if (statusPanelText(1) == MainStatus::changedValuesText())
            setStatusPanelText(1, QString());
    };
    textEdits_->onHistoryMoved([this, showUnsavedMark] {
        if (!project_.State.UnsavedChanges)
            setStatusPanelText(1, QString());
        showUnsavedMark();
    });
    historyObservation_ = project_.Observers.observe([this, showUnsavedMark](dorvan::ProjectChange what) {
        if (!dorvan::has(what, dorvan::ProjectChange::History) || textEdits_ == nullptr)
            return;
        textEdits_->updateActions();
        showUnsavedMark();
        if (dorvan::has(what, dorvan::ProjectChange::Restored))
            states_.showAllocationCommand();
    });
    windowMenu_ = new WindowMenu(*mdiArea_, actions_, states_, this);
    networkWindows_ = std::make_unique<NetworkWindows>(project_, dialogs_, *mdiArea_, *windowMenu_);
    saving_ = std::make_unique<ProjectSaving>(project_, dialogs_, *this, *status_, caption_);
    projectWindows_ = std::make_unique<ProjectWindows>(ProjectWindows::Parts { project_, dialogs_, *mdiArea_,
        *windowMenu_, states_, *status_, caption_, *networkWindows_, *saving_ });
    projectFiles_ = std::make_unique<ProjectFileCommands>(ProjectFileCommands::Parts {
        project_, dialogs_, *this, *projectWindows_, states_, *dataMode_, *status_, caption_ });
    results_ = std::make_unique<ResultCommands>(
        ResultCommands::Parts { project_, dialogs_, *this, *projectWindows_, *status_ });
    reports_ = std::make_unique<ReportCommands>(
        ReportCommands::Parts { project_, dialogs_, *this, *mdiArea_, *projectWindows_, *status_ });
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
    // Children go first, while this window and its parts are still whole: their "destroyed"
    // handlers look at the window menu and the enabled states.
    textEdits_->stop();
    windowMenu_->stop();
    delete mdiArea_;
    mdiArea_ = nullptr;
}

void TDorvan_Central::connectCommands()
{
    const MainActions& m = actions_;
    const auto on
        = [this](auto* sender, auto signal, auto command) { connect(sender, signal, this, command); };
    ProjectFileCommands& files = *projectFiles_;
    const auto newProject = [&files] { files.NovyVUClick(); };
    const auto openProject = [&files] { files.OtvorVUClick(); };
    const auto save = [s = saving_.get()] { s->UlozAkoVUClick(); };
    const auto print = [r = reports_.get()] { r->TlacitClick(); };
    const auto quit = [this] { KoniecClick(); };
    on(m.NovyVU, &QAction::triggered, newProject);
    on(m.OtvorVU, &QAction::triggered, openProject);
    on(m.UlozAkoVU, &QAction::triggered, save);
    on(m.ImportujMiesta, &QAction::triggered, [&files] { files.ImportujMiestaClick(); });
    on(m.ImportujVzdialenosti, &QAction::triggered,
        [w = projectWindows_.get()] { w->ImportujVzdialenostiClick(); });
    on(m.ExportujVysledok, &QAction::triggered, [r = results_.get()] { r->ExportujVysledokClick(); });
    on(m.KopirovatVysledok, &QAction::triggered, [r = results_.get()] { r->KopirovatVysledokClick(); });
    on(m.ZostavaPdf, &QAction::triggered, [r = reports_.get()] { r->ZostavaPdfClick(); });
    on(m.TlacitZostavu, &QAction::triggered, [r = reports_.get()] { r->TlacitZostavuClick(); });
    on(m.Tlacit, &QAction::triggered, print);
    on(m.Zatvor, &QAction::triggered, [&files] { files.ZatvorClick(); });
    on(m.Koniec, &QAction::triggered, quit);
    on(m.Cooper, &QAction::triggered, [this] { CooperClick(); });
    on(m.Siete, &QAction::triggered, [this] { SieteClick(); });
    on(m.Pomoc, &QAction::triggered, [this] { PomocClick(); });
    on(m.Autori, &QAction::triggered, [this] { AutoriClick(); });
    on(m.newButton, &QToolButton::clicked, newProject);
    on(m.openButton, &QToolButton::clicked, openProject);
    on(m.saveToolButton, &QToolButton::clicked, save);
    on(m.printToolButton, &QToolButton::clicked, print);
    on(m.quitButton, &QToolButton::clicked, quit);
    // The file menu checks its items that depend on other windows whenever it opens.
    on(m.fileMenu, &QMenu::aboutToShow, [this] {
        projectWindows_->updateResultCommands();
        states_.showDistanceImport(projectWindows_->entryWindowOpen());
    });
}

void TDorvan_Central::FormCreate()
{
    // The project as at the program's start (the core sets every flag and counter); the hint
    // handler is event(): status tips of menu items and controls land in panel 2.
    project_.resetAtStart();
    caption_.showTitle();
    for (int i = 0; i < PanelStatusBar::PanelCount; ++i)
        setStatusPanelText(i, QString());
}

bool TDorvan_Central::pictureMode() const
{
    return dataMode_->pictureMode();
}

bool TDorvan_Central::openProjectFile(const QString& fileName)
{
    return projectFiles_->openProjectFile(fileName);
}

// ----------------------------------------------------------------------------------------------
// Child windows

QMdiSubWindow* TDorvan_Central::addChildWindow(QWidget* window, bool maximised)
{
    return windowMenu_->add(window, maximised);
}

TVstupUdajov* TDorvan_Central::entryWindow() const
{
    return projectWindows_->entryWindow();
}

bool TDorvan_Central::entryWindowOpen() const
{
    return projectWindows_->entryWindowOpen();
}

TCooperAlokMetod* TDorvan_Central::cooperWindow() const
{
    return projectWindows_->cooperWindow();
}

bool TDorvan_Central::cooperWindowOpen() const
{
    return projectWindows_->cooperWindowOpen();
}

void TDorvan_Central::CooperClick()
{
    projectWindows_->CooperClick();
}

void TDorvan_Central::SieteClick()
{
    networkWindows_->open();
}

TCooperAlokMetod* openCooperWindow(TDorvan_Central& mainWindow)
{
    return mainWindow.projectWindows().openCooperWindow();
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
    if (dorvan::confirmKeepingWork(dialogs_, this, QuitQuestion, project_.State.UnsavedChanges,
            [this] { return saving_->saveProjectAs(); }))
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
