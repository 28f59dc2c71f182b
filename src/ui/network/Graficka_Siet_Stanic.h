#pragma once

#include "core/project/Project.h"
#include "ui/common/ChildWindow.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <string>
#include <vector>

class QListWidget;
namespace dorvan {
class UserDialogs;
} // namespace dorvan

// The station network graph: the best star network of the last search drawn over a coordinate
// chart of the project's places, and the places listed on the right.
class TGrafickaSietStanic : public QWidget {
    Q_OBJECT
public:
    TGrafickaSietStanic(dorvan::Project& project, dorvan::UserDialogs& dialogs, QWidget* parent = nullptr);
    ~TGrafickaSietStanic() override;

    static inline const QString CloseQuestion = QString::fromUtf8("Zavrieť grafický náhľad ?!!");
    static constexpr int DesignClientWidth = 717;
    static constexpr int DesignClientHeight = 446;
    static constexpr int DesignListWidth = 93;
    QSize sizeHint() const override;

    // The drawing area as last painted (the client area less the list).
    const QImage& image() const { return graph_; }

    // Bound to the window's activation: draws.
    void FormCreate();
    // True once its closing was accepted: the window goes, even if it is still on the screen
    // while the main window activates the next one.
    bool isClosing() const { return child_.isClosing(); }
    // Activation, close question and closing by program.
    dorvan::ChildWindow& childWindow() { return child_; }
    // Bound to resizing and to a click on the window.
    void FormResize();
    // Widens the list to its longest line, draws the graph and lists the places.
    void KresliGraf();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool GSSZatvor();
    int listWidthFor(const std::vector<std::string>& lines) const;

    dorvan::Project& project_;
    dorvan::UserDialogs& dialogs_;
    QImage graph_; // the graph as last drawn
    QWidget* graphArea = nullptr; // Image1, shows graph_
    QListWidget* placeList = nullptr; // ListBox1, the places "M" i ": " name ", [x;y]"
    dorvan::ChildWindow& child_;
};
