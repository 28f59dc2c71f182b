// The allocation window's parts: the lists of the results panel and the chart's options.
#include "ui/allocation/CooperWindowParts.h"

#include "core/allocation/AllocationResult.h"
#include "core/allocation/CandidateSites.h"
#include "core/allocation/CooperRunDriver.h"
#include "core/allocation/CooperRunText.h"
#include "core/entry/GroupList.h"
#include "core/entry/PlaceList.h"
#include "core/geo/GeoReference.h"
#include "ui/common/UserDialogs.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>

namespace dorvan::allocation {

bool settingsOn(const Project& project)
{
    return project.Choices.SettingsOn;
}

bool groupsOn(const Project& project)
{
    return project.ticked(CritGroups);
}

ChartDataMode dataMode(const Project& project)
{
    return project.State.PictureMode ? ChartDataMode::Picture : ChartDataMode::Manual;
}

std::string decimalSeparator()
{
    return QLocale().decimalPoint().toStdString();
}

namespace {

QString fromUtf8(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

const QColor ListCream(0xFF, 0xFB, 0xF0);
// The candidates take the lower third of the lists' height, at most this much.
constexpr int CandidatesHeight = 150;
// The path box in a group run, by whether group 1 was solved.
constexpr int GroupCentresWidth = 300;
constexpr int GroupWarningWidth = 200;
// The list shows the cheapest ten of each result.
constexpr std::size_t ShownCandidates = 10;

// List lines 15 pixels high, as the panel widths (7 pixels a character) are reckoned with.
class ListLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return { QStyledItemDelegate::sizeHint(option, index).width(), 15 };
    }
};

QListWidget* creamList(const char* name)
{
    auto* list = new QListWidget;
    list->setItemDelegate(new ListLineDelegate(list));
    list->setObjectName(name);
    QPalette p = list->palette();
    p.setColor(QPalette::Base, ListCream);
    list->setPalette(p);
    QFont f(QStringLiteral("Arial"), 8);
    f.setBold(true);
    list->setFont(f);
    list->setUniformItemSizes(true);
    return list;
}

QLabel* statusLine(QWidget* panel, const char* name)
{
    auto* line = new QLabel(panel);
    line->setObjectName(name);
    line->setWordWrap(true);
    line->hide();
    return line;
}

// The width of a panel for its longest line; a panel without lines keeps its width.
int widestOf(const std::vector<std::string>& lines, int current)
{
    if (lines.empty())
        return current;
    int width = 0;
    for (const std::string& line : lines)
        width = std::max(width, textPanelWidth(line));
    return width;
}

void appendMissing(QListWidget* list, const std::vector<std::string>& lines)
{
    for (std::size_t i = static_cast<std::size_t>(list->count()); i < lines.size(); ++i)
        list->addItem(QString::fromStdString(lines[i]));
}

// "Poloha optima: ..." of a point of the project's plane; empty without a reference.
QString positionOf(const TProjectRecord& record, const IteratePoint& p)
{
    const auto position = geo::toLatLon(record, static_cast<double>(p.x), static_cast<double>(p.y));
    return position ? fromUtf8(geo::formatPosition(*position)) : QString();
}

void addCheapest(QListWidget* list, const std::vector<CandidateSite>& candidates, const std::string& sep)
{
    for (std::size_t i = 0; i < candidates.size() && i < ShownCandidates; ++i)
        list->addItem(QString::fromStdString(candidateLine(candidates[i], sep)));
}

QString shownText(const QLabel* line)
{
    return line->isHidden() ? QString() : line->text();
}

} // namespace

ResultLists::ResultLists(QWidget* panel)
{
    pathBox = new QGroupBox(fromUtf8(" Výpočet dorvan "), panel);
    pathBox->setObjectName("GroupBox2");
    auto* path = new QVBoxLayout(pathBox);
    path->setContentsMargins(2, 2, 2, 2);
    path->setSpacing(2);
    optimumEdit = new QLineEdit(pathBox);
    optimumEdit->setObjectName("Edit1");
    optimumEdit->setReadOnly(true);
    pathList = creamList("ListBox1");
    path->addWidget(optimumEdit);
    path->addWidget(pathList, 1);

    placesBox = new QGroupBox(fromUtf8(" Miesta "), panel);
    placesBox->setObjectName("GroupBox1");
    auto* places = new QVBoxLayout(placesBox);
    places->setContentsMargins(2, 2, 2, 2);
    placeList = creamList("ListBox2");
    places->addWidget(placeList);

    // Under both lists: the places as the centre instead of the optimum, cheapest first.
    candidatesBox = new QGroupBox(fromUtf8(" Kandidátske miesta "), panel);
    candidatesBox->setObjectName("GroupBox7");
    auto* candidates = new QVBoxLayout(candidatesBox);
    candidates->setContentsMargins(2, 2, 2, 2);
    candidateList = creamList("CandidateList");
    candidates->addWidget(candidateList);

    certificateLabel = statusLine(panel, "CertificateLine");
    positionLabel = statusLine(panel, "PositionLine");
    positionLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // The status line under the lists: a notice that needs no answer.
    noticeLabel = statusLine(panel, "RunNotice");
    QPalette notice = noticeLabel->palette();
    notice.setColor(QPalette::WindowText, QColor(0xC0, 0, 0));
    noticeLabel->setPalette(notice);
}

void ResultLists::startRun(bool groupRun)
{
    pathList->clear();
    placeList->clear();
    if (groupRun)
        optimumEdit->hide();
}

void ResultLists::append(const CooperRunResult& soFar)
{
    appendMissing(pathList, soFar.pathLines);
    appendMissing(placeList, soFar.placeLines);
}

void ResultLists::takeWidths(const CooperRunResult& soFar, const Project& project, const std::string& sep)
{
    if (!soFar.groupRun) {
        placesWidth_ = widestOf(soFar.placeLines, placesWidth_);
        pathWidth_ = widestOf(soFar.pathLines, pathWidth_);
        return;
    }
    const TProjectRecord& r = project.Record;
    std::vector<std::string> longest { groupHeader(soFar.groupCount) };
    for (int i = 1; i <= runPlaceCount(project.State.PlaceCount); ++i)
        longest.push_back(
            placeLine(ChartDataMode::Manual, i, displayName(r.PlaceName[i]), r.PlaceX[i], r.PlaceY[i], sep));
    placesWidth_ = widestOf(longest, placesWidth_);
    if (soFar.groups.empty())
        return;
    // Group 1's centre, when it has one, is the first path line and fits the 300 pixels; the
    // line of an existing centre, which names its place, is measured as well.
    const bool firstSolved = soFar.groups.front().solved;
    const bool firstIterated = firstSolved && soFar.groups.front().existingCentre.empty();
    pathWidth_ = firstSolved ? GroupCentresWidth : GroupWarningWidth;
    for (std::size_t i = firstIterated ? 1 : 0; i < soFar.pathLines.size(); ++i)
        pathWidth_ = std::max(pathWidth_, textPanelWidth(soFar.pathLines[i]));
}

void ResultLists::showOptimum(const QString& text)
{
    optimumEdit->show();
    optimumEdit->setText(text);
}

void ResultLists::showResult(
    const AllocationResult& result, const TProjectRecord& record, const std::string& sep)
{
    showCertificate(result, record, sep);
    showPosition(result, record, sep);
    showCandidates(result, sep);
    showNotice(result.run);
}

// The line under the lists, and for each solved group the gap (or its optimal member) in the
// tooltip of its centre line; the lines' texts stay as they are.
void ResultLists::showCertificate(
    const AllocationResult& result, const TProjectRecord& record, const std::string& sep)
{
    const CooperRunResult& res = result.run;
    const QString text = QString::fromStdString(certificateText(res, record, sep));
    certificateLabel->setText(text);
    certificateLabel->setVisible(!text.isEmpty());
    if (!res.groupRun)
        return;
    int row = 0;
    for (const CooperGroupResult& g : res.groups) {
        if (!g.solved)
            continue;
        if (QListWidgetItem* item = pathList->item(row++))
            item->setToolTip(QString::fromStdString(groupCertificateText(g, sep)));
    }
}

// Where the project has a coordinate reference: the one-centre optimum in latitude/longitude
// under the certificate line. A group run shows there the total of its groups (the group
// proposal's "Náklady" for the same groups) and each solved group's centre in latitude/longitude,
// which its line's tooltip also gives.
void ResultLists::showPosition(
    const AllocationResult& result, const TProjectRecord& record, const std::string& sep)
{
    const CooperRunResult& res = result.run;
    QString text;
    if (!res.groupRun) {
        const std::vector<IteratePoint> path = result.path();
        if (!path.empty())
            text = positionOf(record, path.back());
    } else {
        QStringList lines;
        if (const std::string total = groupTotalText(res, sep); !total.empty())
            lines << fromUtf8(total);
        for (const std::string& line : groupPositionLines(res, record))
            lines << fromUtf8(line);
        text = lines.join(u'\n');
        int row = 0;
        for (const CooperGroupResult& g : res.groups) {
            if (!g.solved)
                continue;
            QListWidgetItem* item = pathList->item(row++);
            const QString position = g.iterates.empty() ? QString() : positionOf(record, g.iterates.back());
            if (item == nullptr || position.isEmpty())
                continue;
            const QString tip = item->toolTip();
            item->setToolTip(tip.isEmpty() ? position : tip + u'\n' + position);
        }
    }
    positionLabel->setText(text);
    positionLabel->setVisible(!text.isEmpty());
}

// "Kandidátske miesta": the places as the centre instead of the result, cheapest first; in a
// group run each solved group under its header.
void ResultLists::showCandidates(const AllocationResult& result, const std::string& sep)
{
    candidateList->clear();
    if (!result.run.groupRun) {
        addCheapest(candidateList, result.candidates, sep);
        return;
    }
    for (const CooperGroupResult& g : result.run.groups) {
        const std::vector<CandidateSite> candidates = groupCandidates(g);
        if (candidates.empty())
            continue;
        candidateList->addItem(QString::fromStdString(groupHeader(g.no)));
        addCheapest(candidateList, candidates, sep);
    }
}

// A run that used up the history says so in the status line under the lists, without a box
// to answer: runs repeat on every edit of the data, and the result is still shown and drawn.
// The line goes away with the next run that reaches its precision.
void ResultLists::showNotice(const CooperRunResult& run)
{
    QStringList lines;
    for (const std::string& line :
        { runNoticeText(run.historyFullGroups), ungroupedText(run.ungroupedPlaces) })
        if (!line.empty())
            lines << QString::fromStdString(line);
    const QString text = lines.join('\n');
    noticeLabel->setText(text);
    noticeLabel->setVisible(!text.isEmpty());
}

// The status lines at the foot, the run's notice lowest; in a window too low for them they
// start under the result choice and are cut off at the foot rather than cover it. The path box
// rightmost, the places left of it, the candidates under both.
void ResultLists::layOut(const QRect& inner, int top)
{
    QWidget* panel = pathBox->parentWidget();
    int linesHeight = 0;
    for (QLabel* line : { noticeLabel, positionLabel, certificateLabel })
        if (line->isVisibleTo(panel))
            linesHeight += std::max(0, line->heightForWidth(inner.width()));
    const int bottom = std::max(top, inner.bottom() + 1 - linesHeight);
    int lineTop = bottom + linesHeight;
    for (QLabel* line : { noticeLabel, positionLabel, certificateLabel }) {
        if (!line->isVisibleTo(panel))
            continue;
        const int lineHeight = std::max(0, line->heightForWidth(inner.width()));
        lineTop -= lineHeight;
        line->setGeometry(inner.left(), lineTop, inner.width(), lineHeight);
    }
    const int height = std::max(0, bottom - top);
    const int candidatesHeight = std::min(height / 3, CandidatesHeight);
    const int listHeight = height - candidatesHeight;
    pathBox->setGeometry(inner.right() + 1 - pathWidth_, top, pathWidth_, listHeight);
    placesBox->setGeometry(inner.right() + 1 - pathWidth_ - placesWidth_, top, placesWidth_, listHeight);
    candidatesBox->setGeometry(inner.right() + 1 - pathWidth_ - placesWidth_, top + listHeight,
        placesWidth_ + pathWidth_, candidatesHeight);
}

QString ResultLists::runNotice() const
{
    return shownText(noticeLabel);
}

QString ResultLists::certificateLine() const
{
    return shownText(certificateLabel);
}

QString ResultLists::positionLine() const
{
    return shownText(positionLabel);
}

QStringList ResultLists::candidateLines() const
{
    QStringList lines;
    for (int i = 0; i < candidateList->count(); ++i)
        lines << candidateList->item(i)->text();
    return lines;
}

// ----------------------------------------------------------------------------------------------
// The chart's options

ChartOptions::ChartOptions(
    QBoxLayout* resultChoice, UserDialogs& dialogs, QWidget* window, std::function<void()> redraw)
    : dialogs_(dialogs)
    , window_(window)
    , redraw_(std::move(redraw))
{
    auto* row = new QHBoxLayout;
    contoursBox = new QCheckBox(fromUtf8("Izočiary nákladov"));
    contoursBox->setObjectName("CostContoursBox");
    levelsEdit = new QLineEdit(fromUtf8(DefaultContourLevels));
    levelsEdit->setObjectName("CostContourLevels");
    levelsEdit->setToolTip(fromUtf8("Percentá nad optimom, oddelené bodkočiarkou"));
    levels_ = parseContourLevels(DefaultContourLevels).value();
    acceptedLevelsText_ = levelsEdit->text();
    row->addWidget(contoursBox);
    row->addWidget(levelsEdit, 1);
    resultChoice->addLayout(row);
    // "Rovnaká mierka osí": unticked, each axis fills the drawing area; ticked, both axes share
    // one scale, so that distances look true. The chart is drawn again at once.
    equalScaleBox = new QCheckBox(fromUtf8("Rovnaká mierka osí"));
    equalScaleBox->setObjectName("EqualScaleBox");
    resultChoice->addWidget(equalScaleBox);

    QObject::connect(contoursBox, &QCheckBox::clicked, window, [this] { redraw_(); });
    QObject::connect(levelsEdit, &QLineEdit::editingFinished, window, [this] { levelsEdited(); });
    QObject::connect(equalScaleBox, &QCheckBox::clicked, window, [this] { redraw_(); });
}

ChartScale ChartOptions::scale() const
{
    return equalScaleBox->isChecked() ? ChartScale::Equal : ChartScale::Free;
}

const std::vector<double>* ChartOptions::contourLevels() const
{
    return contoursBox->isChecked() ? &levels_ : nullptr;
}

// A text that cannot be read is refused once and the field goes back to the levels last
// accepted, so the drawing stays as it is. The field is put back before the message is shown:
// the message takes the focus, which ends the editing again, and then finds the accepted text.
void ChartOptions::levelsEdited()
{
    const QString text = levelsEdit->text();
    std::optional<std::vector<double>> levels = parseContourLevels(text.toStdString());
    if (!levels) {
        levelsEdit->setText(acceptedLevelsText_);
        dialogs_.warn(window_, fromUtf8(BadContourLevelsMessage));
        return;
    }
    acceptedLevelsText_ = text;
    if (*levels == levels_)
        return;
    levels_ = std::move(*levels);
    if (contoursBox->isChecked())
        redraw_();
}

} // namespace dorvan::allocation
