// The main window's caption.
#include "ui/main/FrameCaption.h"

#include "core/project/Project.h"

#include <QWidget>

using namespace Qt::StringLiterals;

FrameCaption::FrameCaption(QWidget& frame, const dorvan::Project& project)
    : frame_(frame)
    , project_(project)
{
}

void FrameCaption::set(const QString& caption)
{
    caption_ = caption;
    frame_.setWindowTitle(caption);
}

QString FrameCaption::programTitle() const
{
    return QString::fromStdString(project_.State.ProgramTitle);
}

void FrameCaption::showFile(const QString& fileName)
{
    set(programTitle() + u" - "_s + fileName);
}

void FrameCaption::showTitle()
{
    set(programTitle());
}
