#include "allocation/CooperInputs.h"

#include "entry/Vstupne_Udaje.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>

EntryWindowInputs::EntryWindowInputs(TVstupUdajov* entryWindow, std::function<bool()> pictureMode)
    : entry_(entryWindow)
    , pictureMode_(std::move(pictureMode))
{
}

bool EntryWindowInputs::ticked(const char* checkBox) const
{
    if (entry_ == nullptr)
        return false;
    const auto* box = entry_->findChild<QCheckBox*>(QString::fromLatin1(checkBox));
    return box != nullptr && box->isChecked();
}

bool EntryWindowInputs::entryVisible() const
{
    return entry_ != nullptr && entry_->isVisible();
}

bool EntryWindowInputs::settingsOn() const
{
    return ticked("CheckBox16");
}

bool EntryWindowInputs::groupsOn() const
{
    return ticked("CheckBox17");
}

bool EntryWindowInputs::quantityOn() const
{
    return entry_ != nullptr && entry_->criterionTicked(dorvan::CritQuantity);
}

bool EntryWindowInputs::priceOn() const
{
    return entry_ != nullptr && entry_->criterionTicked(dorvan::CritPrice);
}

bool EntryWindowInputs::flexibilityOn() const
{
    return entry_ != nullptr && entry_->criterionTicked(dorvan::CritFlexibility);
}

std::vector<std::string> EntryWindowInputs::groupLines() const
{
    std::vector<std::string> lines;
    if (entry_ == nullptr)
        return lines;
    const auto* list = entry_->findChild<QListWidget*>(QStringLiteral("ListBox9"));
    if (list == nullptr)
        return lines;
    lines.reserve(static_cast<std::size_t>(list->count()));
    for (int i = 0; i < list->count(); ++i)
        lines.push_back(list->item(i)->text().toStdString());
    return lines;
}

QString EntryWindowInputs::groupCountText() const
{
    if (entry_ == nullptr)
        return QString();
    const auto* edit = entry_->findChild<QLineEdit*>(QStringLiteral("Edit49"));
    return edit != nullptr ? edit->text() : QString();
}

dorvan::CooperSettings EntryWindowInputs::settings() const
{
    dorvan::CooperSettings s;
    if (entry_ == nullptr)
        return s;
    s.start = entry_->startPoint();
    s.rule = entry_->stoppingRule();
    s.precisionText = entry_->precisionText().toStdString();
    s.correctionText = entry_->correctionText().toStdString();
    return s;
}

void EntryWindowInputs::resetPrecision()
{
    if (entry_ != nullptr)
        entry_->resetPrecision();
}

void EntryWindowInputs::resetCorrection()
{
    if (entry_ != nullptr)
        entry_->resetCorrection();
}

bool EntryWindowInputs::pictureMode() const
{
    return pictureMode_ && pictureMode_();
}

QTableWidget* EntryWindowInputs::coordinateGrid() const
{
    return entry_ != nullptr ? entry_->findChild<QTableWidget*>(QStringLiteral("StringGrid7")) : nullptr;
}
