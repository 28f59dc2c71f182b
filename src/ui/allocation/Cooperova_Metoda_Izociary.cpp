// How good the result is and how flat the cost is around it: the certificate line under the
// lists, the gaps of the groups in the tooltips of their centre lines, and the cost contours
// drawn at the levels of the result box.
#include "ui/allocation/Cooperova_Metoda.h"

#include "core/allocation/CandidateSites.h"
#include "core/allocation/CooperRunDriver.h"
#include "core/entry/GroupList.h"
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
#include <QRadioButton>

namespace {

QString u(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

} // namespace

void TCooperAlokMetod::buildContourControls(QBoxLayout* resultChoice)
{
    auto* row = new QHBoxLayout;
    CostContoursBox = new QCheckBox(u("Izočiary nákladov"));
    CostContoursBox->setObjectName("CostContoursBox");
    CostContourLevels = new QLineEdit(u(dorvan::DefaultContourLevels));
    CostContourLevels->setObjectName("CostContourLevels");
    CostContourLevels->setToolTip(u("Percentá nad optimom, oddelené bodkočiarkou"));
    contourLevels_ = dorvan::parseContourLevels(dorvan::DefaultContourLevels).value();
    acceptedLevelsText_ = CostContourLevels->text();
    row->addWidget(CostContoursBox);
    row->addWidget(CostContourLevels, 1);
    resultChoice->addLayout(row);

    CertificateLine = new QLabel(resultsPanel);
    CertificateLine->setObjectName("CertificateLine");
    CertificateLine->setWordWrap(true);
    CertificateLine->hide();

    PositionLine = new QLabel(resultsPanel);
    PositionLine->setObjectName("PositionLine");
    PositionLine->setWordWrap(true);
    PositionLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    PositionLine->hide();

    connect(CostContoursBox, &QCheckBox::clicked, this, &TCooperAlokMetod::CostContoursBoxClick);
    connect(CostContourLevels, &QLineEdit::editingFinished, this, &TCooperAlokMetod::CostContourLevelsEdited);
}

QString TCooperAlokMetod::certificateLine() const
{
    return CertificateLine->isHidden() ? QString() : CertificateLine->text();
}

QString TCooperAlokMetod::positionLine() const
{
    return PositionLine->isHidden() ? QString() : PositionLine->text();
}

std::vector<double> TCooperAlokMetod::exportContourLevels() const
{
    return CostContoursBox->isChecked() ? contourLevels_ : std::vector<double> {};
}

void TCooperAlokMetod::CostContoursBoxClick()
{
    redrawResult();
}

// A text that cannot be read is refused once and the field goes back to the levels last
// accepted, so the drawing stays as it is. The field is put back before the message is shown:
// the message takes the focus, which ends the editing again, and then finds the accepted text.
void TCooperAlokMetod::CostContourLevelsEdited()
{
    const QString text = CostContourLevels->text();
    std::optional<std::vector<double>> levels = dorvan::parseContourLevels(text.toStdString());
    if (!levels) {
        CostContourLevels->setText(acceptedLevelsText_);
        dialogs_.warn(this, u(dorvan::BadContourLevelsMessage));
        return;
    }
    acceptedLevelsText_ = text;
    if (*levels == contourLevels_)
        return;
    contourLevels_ = std::move(*levels);
    if (CostContoursBox->isChecked())
        redrawResult();
}

std::optional<dorvan::ContourInput> TCooperAlokMetod::oneCentreContours() const
{
    if (!CostContoursBox->isChecked() || oneCentreFinal_ < 1 || oneCentreFinal_ > dorvan::CooperHistorySize)
        return std::nullopt;
    return dorvan::ContourInput { dorvan::oneCentreCostSites(state_),
        { state_.IterX[oneCentreFinal_], state_.IterY[oneCentreFinal_] }, contourLevels_ };
}

const std::vector<double>* TCooperAlokMetod::groupContourLevels() const
{
    return CostContoursBox->isChecked() ? &contourLevels_ : nullptr;
}

// The drawing as the last run left it, with or without the contours. A group run keeps only
// its last group, so it is made again, as a resize in group mode does.
void TCooperAlokMetod::redrawResult()
{
    if (!settingsOn())
        return;
    if (groupsOn()) {
        SpustiCooper();
        return;
    }
    if (oneCentreFinal_ < 1)
        return;
    if (inPictureMode() && withPictureButton->isChecked() && project_.Record.PictureWidth > 0
        && project_.Record.PictureHeight > 0)
        KresliGrafMapaCooper();
    else
        KresliGrafCooper();
}

// The line under the lists, and for each solved group the gap (or its optimal member) in the
// tooltip of its centre line; the lines' texts stay as they are.
void TCooperAlokMetod::showCertificate(const dorvan::CooperRunResult& res)
{
    const std::string sep = QLocale().decimalPoint().toStdString();
    const QString text = QString::fromStdString(dorvan::certificateText(res, project_.Record, sep));
    CertificateLine->setText(text);
    CertificateLine->setVisible(!text.isEmpty());
    if (!res.groupRun)
        return;
    int row = 0;
    for (const dorvan::CooperGroupResult& g : res.groups) {
        if (!g.solved)
            continue;
        if (QListWidgetItem* item = pathList->item(row++))
            item->setToolTip(QString::fromStdString(dorvan::groupCertificateText(g, sep)));
    }
}

namespace {

// "Poloha optima: ..." of a point of the project's plane; empty without a reference.
QString positionText(const dorvan::TProjectRecord& record, const dorvan::IteratePoint& p)
{
    const auto position
        = dorvan::geo::toLatLon(record, static_cast<double>(p.x), static_cast<double>(p.y));
    return position ? u(dorvan::geo::formatPosition(*position)) : QString();
}

} // namespace

// Where the project has a coordinate reference: the one-centre optimum in latitude/longitude
// under the certificate line. A group run shows there the total of its groups (the group
// proposal's "Náklady" for the same groups) and each solved group's centre in latitude/longitude,
// which its line's tooltip also gives.
void TCooperAlokMetod::showPosition(const dorvan::CooperRunResult& res)
{
    QString text;
    if (res.groupRun) {
        QStringList lines;
        if (const std::string total = dorvan::groupTotalText(res, QLocale().decimalPoint().toStdString());
            !total.empty())
            lines << u(total);
        for (const std::string& line : dorvan::groupPositionLines(res, project_.Record))
            lines << u(line);
        text = lines.join(u'\n');
    }
    if (!res.groupRun) {
        const std::vector<dorvan::IteratePoint> path
            = dorvan::historyPoints(state_.IterX, state_.IterY, res.finalIter);
        if (!path.empty())
            text = positionText(project_.Record, path.back());
    } else {
        int row = 0;
        for (const dorvan::CooperGroupResult& g : res.groups) {
            if (!g.solved)
                continue;
            QListWidgetItem* item = pathList->item(row++);
            const QString position = g.iterates.empty() ? QString() : positionText(project_.Record, g.iterates.back());
            if (item == nullptr || position.isEmpty())
                continue;
            const QString tip = item->toolTip();
            item->setToolTip(tip.isEmpty() ? position : tip + u'\n' + position);
        }
    }
    PositionLine->setText(text);
    PositionLine->setVisible(!text.isEmpty());
}

namespace {

// The list shows the cheapest ten of each result.
constexpr std::size_t ShownCandidates = 10;

void addCandidates(QListWidget* list, const std::vector<dorvan::CandidateSite>& candidates, const std::string& sep)
{
    for (std::size_t i = 0; i < candidates.size() && i < ShownCandidates; ++i)
        list->addItem(QString::fromStdString(dorvan::candidateLine(candidates[i], sep)));
}

} // namespace

// "Kandidátske miesta": the places as the centre instead of the result, cheapest first; in a
// group run each solved group under its header.
void TCooperAlokMetod::showCandidates(const dorvan::CooperRunResult& res)
{
    const std::string sep = QLocale().decimalPoint().toStdString();
    CandidateList->clear();
    if (!res.groupRun) {
        addCandidates(CandidateList,
            dorvan::oneCentreCandidates(project_.Record, project_.State.PlaceCount, res, state_), sep);
        return;
    }
    for (const dorvan::CooperGroupResult& g : res.groups) {
        const std::vector<dorvan::CandidateSite> candidates = dorvan::groupCandidates(g);
        if (candidates.empty())
            continue;
        CandidateList->addItem(QString::fromStdString(dorvan::groupHeader(g.no)));
        addCandidates(CandidateList, candidates, sep);
    }
}

QStringList TCooperAlokMetod::candidateLines() const
{
    QStringList lines;
    for (int i = 0; i < CandidateList->count(); ++i)
        lines << CandidateList->item(i)->text();
    return lines;
}
