#include "ui/entry/Vstupne_Udaje.h"

#include "core/common/DecimalText.h"
#include "core/project/Project.h"
#include "core/project/ProjectDocument.h"
#include "ui/common/UserDialogs.h"
#include "ui/entry/EntryCriteriaPage.h"
#include "ui/entry/EntryGroupsSheet.h"
#include "ui/entry/EntryHost.h"
#include "ui/entry/EntryOverviewPage.h"
#include "ui/entry/EntryPicturePage.h"
#include "ui/entry/EntryPlacesPage.h"
#include "ui/entry/EntryRelationSheets.h"
#include "ui/entry/EntrySettingsSheet.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {
const QString EntryCloseQuestion = QString::fromUtf8("Zavrieť \"Zadávanie údajov\" ?!!");
} // namespace

TVstupUdajov::TVstupUdajov(
    dorvan::Project& project, dorvan::UserDialogs& dialogs, EntryHost& host, QWidget* parent)
    : QWidget(parent)
    , project_(project)
    , dialogs_(dialogs)
    , host_(host)
    , child_(*new dorvan::ChildWindow(*this, dialogs, EntryCloseQuestion))
    , session_(project)
    , context_ { project, dialogs, host, session_.places(), session_, *this, closing_ }
{
    setObjectName("VstupUdajov");
    child_.setQuestion([this] {
        return dorvan::confirmKeepingWork(dialogs_, this, EntryCloseQuestion, project_.State.UnsavedChanges,
            [this] { return host_.saveProjectAs(); });
    });
    setWindowTitle(QString::fromUtf8("Zadávanie vstupných údajov"));
    setToolTip(QString::fromUtf8("Definovanie vstupných hodnôt"));
    setStatusTip(toolTip());
    setWindowState(windowState() | Qt::WindowMaximized);
    // The pages start with every box unticked, the settings at their defaults and no group; the
    // transition that opens the window ("Nový", "Otvor ako ...") sets the project's choices.
    buildPages();
    observation_ = project_.Observers.observe([this](dorvan::ProjectChange what) { projectChanged(what); });
}

void TVstupUdajov::projectChanged(dorvan::ProjectChange what)
{
    using dorvan::ProjectChange;
    if (dorvan::has(what, ProjectChange::DataMode))
        showDataPage(project_.State.PictureMode);
    if (dorvan::has(what, ProjectChange::Settings))
        criteria_->settings()->showSettings();
    if (dorvan::has(what, ProjectChange::Coordinates))
        picture_->showPictureCoordinates();
    // An undo or a redo put back another state: the lists of places show it.
    if (dorvan::has(what, ProjectChange::Restored)) {
        const QScopedValueRollback<bool> again(showingAgain_, true);
        // The sheets shown again make themselves current as a tick does; the user stays on
        // the sheet worked on while its tab is still there.
        const QPointer<QWidget> sheetShown = criteria_->currentCriterionPage();
        places_->showEntryAgain();
        picture_->showPlacesAgain();
        // The boxes tick as the record does; their handlers store what the project holds already.
        criteria_->showChoices();
        criteria_->showStoredValues();
        criteria_->settings()->showSettings();
        criteria_->groups()->showGroups();
        // An open allocation window shows the result of the project as it is now, or closes when
        // the state put back cannot be allocated. (The document leaves this decision to the
        // views: an undone step does not tell RunInputs again; the undo moved the revision.)
        if (host_.cooperWindowOpen()) {
            const auto& s = project_.State;
            // Every place of the count entered (PlacesComplete cannot tell: opening the
            // allocation window clears it, so an undo would close the window it runs in).
            const bool listComplete = s.NextPlace > s.PlaceCount;
            if (listComplete && s.PlaceCount >= 2 && project_.Choices.SettingsOn)
                project_.tell(ProjectChange::RunInputs);
            else
                host_.closeCooperWindow();
        }
        criteria_->rebuildPlaceValuePages();
        if (sheetShown != nullptr)
            criteria_->setCurrentCriterionPage(sheetShown);
        showProjectPages(project_.State.AddPlacesMode);
        overview_->refresh();
    }
}

void TVstupUdajov::showDataPage(bool pictureMode)
{
    pageTabs->setTabVisible(pageTabs->indexOf(places_), !pictureMode);
    pageTabs->setTabVisible(pageTabs->indexOf(picture_), pictureMode);
    pageTabs->setCurrentWidget(pictureMode ? static_cast<QWidget*>(picture_) : places_);
    if (!pictureMode)
        places_->focusCountField();
}

// Nothing here may touch the project: at program end the main window's members go before
// its child windows. The controls go after this body, and a list emptied on its way out must
// not reach the handlers that keep the project up to date.
TVstupUdajov::~TVstupUdajov()
{
    *closing_ = true;
    std::vector<const QObject*> receivers { this, places_, overview_, picture_ };
    if (criteria_ != nullptr)
        for (const QObject* part : criteria_->parts())
            receivers.push_back(part);
    for (QObject* child : findChildren<QObject*>())
        for (const QObject* receiver : receivers)
            if (receiver != nullptr)
                child->disconnect(receiver);
}

void TVstupUdajov::buildPages()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // The page control fills the whole client area of the window.
    pageTabs = new QTabWidget(this);
    pageTabs->setObjectName("PageControl1");
    layout->addWidget(pageTabs);

    // A page's hint is its tab's tooltip and, for the status bar, the status tip of the page.
    places_ = new entry::PlacesPage(context_);
    pageTabs->addTab(places_, QString::fromUtf8("Vstupné dáta - RUČNÉ ZADANIE"));
    pageTabs->setTabToolTip(0, QString::fromUtf8("Povinné vstupné hodnoty"));
    places_->setStatusTip(pageTabs->tabToolTip(0));

    criteria_ = new entry::CriteriaPage(context_);
    pageTabs->addTab(criteria_, QString::fromUtf8("Definovanie kritérií"));
    pageTabs->setTabToolTip(1, QString::fromUtf8("Ďalšie rozširujúce kritériá"));
    criteria_->setStatusTip(pageTabs->tabToolTip(1));

    routePage_ = buildRoutePage();
    pageTabs->addTab(routePage_, QString());

    overview_ = new entry::OverviewPage(context_);
    pageTabs->addTab(overview_, QString::fromUtf8("Celkový zoznam vstupných údajov"));
    pageTabs->setTabToolTip(3, QString::fromUtf8("Zoznam vstupných hodnôt"));
    overview_->setStatusTip(pageTabs->tabToolTip(3));

    picture_ = new entry::PicturePage(context_);
    pageTabs->addTab(picture_, QString::fromUtf8("Vstupné dáta - OBRÁZOK"));

    // Until the first list of places is complete only the entry pages can be used.
    pageTabs->setTabEnabled(1, false);
    pageTabs->setTabEnabled(2, false);
    pageTabs->setTabVisible(2, false);
    pageTabs->setTabEnabled(3, false);
    pageTabs->setCurrentIndex(0);
    connect(pageTabs, &QTabWidget::currentChanged, this, [this] {
        if (!*closing_)
            onPageChanged();
    });
}

// The page control fills the window's client area through the window's layout on every page,
// the picture page included; the window is maximised in the main window's client area, so that
// is also the height of the main window's background. What is left to do on a page change is
// to list the project anew on the overview, whichever page was chosen. The picture page keeps
// its picture fitted to its own size as the page control resizes (PicturePage).
void TVstupUdajov::onPageChanged()
{
    overview_->refresh();
}

// The route description page is kept hidden; its controls do nothing.
QWidget* TVstupUdajov::buildRoutePage()
{
    auto* page = new QWidget;
    page->setObjectName("List3");
    auto* layout = new QHBoxLayout(page);
    auto named = [](QWidget* w, const char* name) {
        w->setObjectName(name);
        return w;
    };
    layout->addWidget(named(new QLineEdit, "Edit12"));
    layout->addWidget(named(new QPushButton("OK"), "OKButton5"));
    layout->addWidget(named(new QListWidget, "ListBox4"));
    layout->addWidget(named(new QPushButton(">>>"), "Button4"));
    layout->addWidget(named(new QPushButton("<<<"), "Button5"));
    layout->addWidget(named(new QListWidget, "ListBox5"));
    layout->addWidget(named(new QPushButton("OK"), "Button6"));
    return page;
}

void TVstupUdajov::showCriterionPage(QWidget* sheet, bool show)
{
    criteria_->showCriterionPage(sheet, show);
}

void TVstupUdajov::setCurrentCriterionPage(QWidget* sheet)
{
    criteria_->setCurrentCriterionPage(sheet);
}

void TVstupUdajov::refreshCriterion(entry::CriterionBox box)
{
    criteria_->runCriterionUpdate(box);
}

void TVstupUdajov::showCriterionTicked(entry::CriterionBox box)
{
    pageTabs->setCurrentWidget(criteria_);
    criteria_->showTicked(box);
}

bool TVstupUdajov::importDistances()
{
    return criteria_->distances()->importDistances();
}

void TVstupUdajov::refillPlaceRows()
{
    places_->refillPlaceRows();
}

void TVstupUdajov::placeListCompleted(const dorvan::ListCompletion& completion)
{
    host_.entryLastPlaceEntered();
    if (completion.tickSettings)
        criteria_->settings()->switchOn();
    else
        dialogs_.warn(this, entry::text(completion.message));
}

void TVstupUdajov::FillPlaceGrid()
{
    places_->FillPlaceGrid();
}

void TVstupUdajov::showAddPlacesPrompt()
{
    places_->showAddPlacesPrompt();
}

void TVstupUdajov::rebuildPlaceValuePages()
{
    criteria_->rebuildPlaceValuePages();
}

// The loading-time page is brought in line again when the centre or the depots change.
void TVstupUdajov::refreshLoadTimesPage()
{
    criteria_->runCriterionUpdate(entry::CriterionBox::LoadTimes);
}

bool TVstupUdajov::pictureTabVisible() const
{
    const int index = pageTabs != nullptr ? pageTabs->indexOf(picture_) : -1;
    return index >= 0 && pageTabs->isTabVisible(index);
}

// The pages call this when they changed the project. A change made beside the commands becomes
// a step of its own here, so that "unsaved" follows the history alone; the main window shows
// "ZMENENÉ HODNOTY !!!" for a change under way in a command or one that left the project unsaved,
// never for a page that changed nothing of a saved project.
void TVstupUdajov::valuesChanged()
{
    dorvan::ProjectDocument document(project_);
    document.takeEditsBeside();
    if (document.running() || project_.State.UnsavedChanges)
        host_.entryValuesChanged();
}

// A notification, not an edit: the edit it follows is a step of its own (or part of the command
// under way), and an undo or a redo leaves the run to projectChanged.
void TVstupUdajov::rerunIfCooperOpen()
{
    if (host_.cooperWindowOpen())
        project_.tell(dorvan::ProjectChange::RunInputs);
}

// The deletion's step took the place out of its group too; the group page shows it. An open
// allocation window closes when fewer than two places are left, else it runs again.
void TVstupUdajov::placeDeleted(const dorvan::PlaceListChange& change)
{
    criteria_->groups()->followPlaces(change);
    if (project_.State.PlaceCount >= 2)
        rerunIfCooperOpen();
    else if (host_.cooperWindowOpen())
        host_.closeCooperWindow();
}

void TVstupUdajov::closeEvent(QCloseEvent* event)
{
    child_.handleClose(event, [this] { return VstupUdajeZatvor(); });
}

bool TVstupUdajov::VstupUdajeZatvor()
{
    auto& s = project_.State;
    if (!child_.mayClose()) {
        s.EntryWindowClosed = false;
        return false;
    }
    s.EntryWindowClosed = true;
    host_.closeProjectWindows();
    session_.close();
    // The mode switch, the project commands, the caption and the status text follow there.
    host_.entryWindowClosed();

    // The window goes with its MDI frame, whichever of the two was asked to close.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->deleteLater();
    else
        deleteLater();
    return true;
}

void TVstupUdajov::enableProjectPages()
{
    showProjectPages(true);
}

// The criteria and overview pages can be used once a first list of places was complete.
void TVstupUdajov::showProjectPages(bool on)
{
    for (QWidget* page : { static_cast<QWidget*>(criteria_), routePage_, static_cast<QWidget*>(overview_) })
        pageTabs->setTabEnabled(pageTabs->indexOf(page), on);
    if (!on && !pageTabs->isTabEnabled(pageTabs->currentIndex()))
        showDataPage(project_.State.PictureMode);
}

void TVstupUdajov::showChoices()
{
    criteria_->showChoices();
    criteria_->settings()->showSettings();
    if (!project_.Choices.SettingsOn)
        return;
    criteria_->settings()->switchOn();
    criteria_->settings()->refreshSettingsSheet();
}

void TVstupUdajov::showProjectPicture()
{
    // The window's boxes take their sizes before the page fits the picture into its own.
    if (project_.MapPicture.empty())
        return;
    if (layout() != nullptr)
        layout()->activate();
    picture_->showProjectPicture();
}

void TVstupUdajov::SelektujSkupiny()
{
    criteria_->groups()->SelektujSkupiny();
}

std::vector<std::vector<std::string>> TVstupUdajov::proposalTable() const
{
    return criteria_->groups()->proposalTable();
}

dorvan::StoppingRule TVstupUdajov::stoppingRule() const
{
    return project_.Choices.Settings.rule;
}

dorvan::StartPoint TVstupUdajov::startPoint() const
{
    return project_.Choices.Settings.start;
}

QString TVstupUdajov::precisionText() const
{
    return QString::fromStdString(project_.Choices.Settings.precisionText());
}

QString TVstupUdajov::correctionText() const
{
    return QString::fromStdString(project_.Choices.Settings.correctionText());
}
