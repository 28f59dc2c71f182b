#pragma once

#include <QString>

class QWidget;
namespace dorvan {
struct Project;
} // namespace dorvan

// The main window's caption: the program's title, optionally followed by " - " and the project's
// file name. (While a child window is maximised the frame shows the child's title after it, the
// way a multiple-document frame does.)
class FrameCaption {
public:
    FrameCaption(QWidget& frame, const dorvan::Project& project);

    QString text() const { return caption_; }
    void set(const QString& caption);
    QString programTitle() const;
    // The title followed by the project's file name.
    void showFile(const QString& fileName);
    // The title alone: no project is open.
    void showTitle();

private:
    QWidget& frame_;
    const dorvan::Project& project_;
    QString caption_;
};
