#pragma once

#include <QList>
#include <QObject>

class CommandStates;
class QAction;
class QMdiArea;
class QMdiSubWindow;
class QWidget;
struct MainActions;

// The client area's child windows as the window menu shows them: putting a window into the
// area, the list of open windows at the end of the menu, and the arrangement items.
class WindowMenu : public QObject {
public:
    // Wires the window menu's items; the menu follows the area's windows from then on.
    WindowMenu(QMdiArea& area, const MainActions& actions, CommandStates& states, QObject* parent);

    // Puts a window into the client area; the frame it gets goes away with the window, and the
    // window goes away with its frame.
    QMdiSubWindow* add(QWidget* window, bool maximised = false);
    // The arrangement items on while a window is open, and the list of open windows.
    void update(const QObject* goingAway = nullptr);
    // The client area is going: nothing is listed any more.
    void stop() { stopped_ = true; }

    void tileHorizontally();
    void tileVertically();
    void arrangeMinimised();
    void minimiseAll();

private:
    QList<QMdiSubWindow*> openSubWindows(const QObject* goingAway = nullptr) const;
    void fillList(const QObject* goingAway);

    QMdiArea& area_;
    const MainActions& actions_;
    CommandStates& states_;
    QList<QAction*> listActions_;
    bool stopped_ = false;
};
