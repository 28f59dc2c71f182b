// The main window's child windows: putting them into the client area, the window menu and its
// arrangement commands.
#include "ui/main/WindowMenu.h"

#include "ui/main/CommandStates.h"
#include "ui/main/MainActions.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMetaObject>
#include <QPointer>

#include <algorithm>

WindowMenu::WindowMenu(QMdiArea& area, const MainActions& actions, CommandStates& states, QObject* parent)
    : QObject(parent)
    , area_(area)
    , actions_(actions)
    , states_(states)
{
    connect(actions.KaskadaOkno, &QAction::triggered, this, [this] { area_.cascadeSubWindows(); });
    connect(actions.HorizontalOkno, &QAction::triggered, this, &WindowMenu::tileHorizontally);
    connect(actions.VertikalOkno, &QAction::triggered, this, &WindowMenu::tileVertically);
    connect(actions.UsporiadatOkno, &QAction::triggered, this, &WindowMenu::arrangeMinimised);
    connect(actions.MinimalOkno, &QAction::triggered, this, &WindowMenu::minimiseAll);
    connect(actions.ZavrietOkno, &QAction::triggered, this, [this] { area_.closeActiveSubWindow(); });
    connect(actions.windowMenu, &QMenu::aboutToShow, this, [this] { update(); });
    connect(&area, &QMdiArea::subWindowActivated, this, [this] { update(); });
}

QMdiSubWindow* WindowMenu::add(QWidget* window, bool maximised)
{
    if (window == nullptr)
        return nullptr;
    QMdiSubWindow* sub = area_.addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // A window that destroys itself takes its frame along. Done from the event loop, because
    // the window may also be going away as part of its frame.
    QPointer<QMdiSubWindow> frame(sub);
    connect(window, &QObject::destroyed, this, [this, frame] {
        QMetaObject::invokeMethod(
            this,
            [this, frame] {
                if (frame)
                    frame->deleteLater();
                update();
            },
            Qt::QueuedConnection);
    });
    connect(sub, &QObject::destroyed, this, [this](QObject* gone) { update(gone); });
    connect(sub, &QWidget::windowTitleChanged, this, [this] { update(); });
    if (maximised)
        sub->showMaximized();
    else
        sub->show();
    update();
    return sub;
}

QList<QMdiSubWindow*> WindowMenu::openSubWindows(const QObject* goingAway) const
{
    QList<QMdiSubWindow*> out;
    if (stopped_)
        return out;
    for (QMdiSubWindow* sub : area_.subWindowList()) {
        if (sub != goingAway && !sub->isHidden())
            out << sub;
    }
    return out;
}

void WindowMenu::update(const QObject* goingAway)
{
    if (stopped_)
        return;
    states_.showWindowCommands(!openSubWindows(goingAway).isEmpty());
    fillList(goingAway);
}

void WindowMenu::fillList(const QObject* goingAway)
{
    // The window list at the end of the menu: one numbered entry per child window, the active
    // one checked.
    qDeleteAll(listActions_);
    listActions_.clear();
    const QList<QMdiSubWindow*> subs = openSubWindows(goingAway);
    actions_.windowListSeparator->setVisible(!subs.isEmpty());
    QMdiSubWindow* active = area_.currentSubWindow();
    int n = 0;
    for (QMdiSubWindow* sub : subs) {
        ++n;
        QString title = sub->windowTitle();
        if (title.isEmpty() && sub->widget() != nullptr)
            title = sub->widget()->windowTitle();
        const QString text = (n < 10 ? QStringLiteral("&%1 %2") : QStringLiteral("%1 %2")).arg(n).arg(title);
        auto* a = new QAction(text, actions_.windowMenu);
        a->setObjectName(QStringLiteral("WindowListItem%1").arg(n));
        a->setCheckable(true);
        a->setChecked(sub == active);
        QPointer<QMdiSubWindow> target(sub);
        connect(a, &QAction::triggered, this, [this, target] {
            if (target) {
                if (target->isMinimized())
                    target->showNormal();
                area_.setActiveSubWindow(target);
            }
        });
        actions_.windowMenu->addAction(a);
        listActions_ << a;
    }
}

namespace {

// Tiles the open, not minimised windows over the client area in equal strips: one above the
// other (stacked) or side by side.
void tile(const QList<QMdiSubWindow*>& open, const QRect& area, bool stacked)
{
    QList<QMdiSubWindow*> subs;
    for (QMdiSubWindow* sub : open) {
        if (sub->isMinimized())
            continue;
        if (sub->isMaximized())
            sub->showNormal();
        subs << sub;
    }
    const int n = static_cast<int>(subs.size());
    const int length = stacked ? area.height() : area.width();
    for (int i = 0; i < n; ++i) {
        const int from = length * i / n;
        const int to = length * (i + 1) / n;
        if (stacked)
            subs[i]->setGeometry(0, from, area.width(), to - from);
        else
            subs[i]->setGeometry(from, 0, to - from, area.height());
    }
}

} // namespace

void WindowMenu::tileHorizontally()
{
    tile(openSubWindows(), area_.viewport()->rect(), true);
}

void WindowMenu::tileVertically()
{
    tile(openSubWindows(), area_.viewport()->rect(), false);
}

void WindowMenu::arrangeMinimised()
{
    // Minimised windows in rows along the bottom edge of the client area, left to right.
    const QRect area = area_.viewport()->rect();
    int x = 0;
    int y = area.height();
    int rowHeight = 0;
    bool first = true;
    for (QMdiSubWindow* sub : openSubWindows()) {
        if (!sub->isMinimized())
            continue;
        const QSize s = sub->size();
        if (first || x + s.width() > area.width()) {
            if (!first)
                y -= rowHeight;
            x = 0;
            rowHeight = s.height();
            first = false;
        }
        rowHeight = std::max(rowHeight, s.height());
        sub->move(x, y - s.height());
        x += s.width();
    }
}

void WindowMenu::minimiseAll()
{
    for (QMdiSubWindow* sub : openSubWindows())
        sub->showMinimized();
}
