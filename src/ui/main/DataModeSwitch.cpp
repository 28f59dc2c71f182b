// The main window's data-mode switch.
#include "ui/main/DataModeSwitch.h"

#include "core/project/Project.h"

#include <QRadioButton>

DataModeSwitch::DataModeSwitch(QRadioButton& manual, QRadioButton& picture, dorvan::Project& project)
    : manual_(manual)
    , picture_(picture)
    , project_(project)
{
    QObject::connect(&manual, &QRadioButton::clicked, &manual, [this] { show(false); });
    QObject::connect(&picture, &QRadioButton::clicked, &picture, [this] { show(true); });
}

bool DataModeSwitch::pictureMode() const
{
    return project_.State.PictureMode;
}

void DataModeSwitch::set(bool pictureMode)
{
    manual_.setChecked(!pictureMode);
    picture_.setChecked(pictureMode);
    project_.State.PictureMode = pictureMode;
}

void DataModeSwitch::show(bool pictureMode)
{
    project_.State.PictureMode = pictureMode;
    project_.tell(dorvan::ProjectChange::DataMode);
}
