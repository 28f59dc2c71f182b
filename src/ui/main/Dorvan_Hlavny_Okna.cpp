// The main window's child windows: putting them into the client area, the window menu and its
// arrangement commands.
#include "ui/main/Dorvan_Hlavny.h"
#include "ui/allocation/Cooperova_Metoda.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMetaObject>

QMdiSubWindow* TDorvan_Central::addChildWindow(QWidget* window, bool maximised)
{
    if (window == nullptr)
        return nullptr;
    QMdiSubWindow* sub = mdiArea_->addSubWindow(window);
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
                updateWindowMenu();
            },
            Qt::QueuedConnection);
    });
    connect(sub, &QObject::destroyed, this, [this](QObject* gone) { updateWindowMenu(gone); });
    connect(sub, &QWidget::windowTitleChanged, this, [this] { updateWindowMenu(); });
    if (maximised)
        sub->showMaximized();
    else
        sub->show();
    updateWindowMenu();
    return sub;
}

QList<QMdiSubWindow*> TDorvan_Central::openSubWindows(const QObject* goingAway) const
{
    QList<QMdiSubWindow*> out;
    if (mdiArea_ == nullptr)
        return out;
    for (QMdiSubWindow* sub : mdiArea_->subWindowList()) {
        if (sub != goingAway && !sub->isHidden())
            out << sub;
    }
    return out;
}

void TDorvan_Central::updateWindowMenu(const QObject* goingAway)
{
    if (shuttingDown_ || mdiArea_ == nullptr)
        return;
    const bool any = !openSubWindows(goingAway).isEmpty();
    for (QAction* a : { KaskadaOkno, HorizontalOkno, VertikalOkno, UsporiadatOkno, MinimalOkno, ZavrietOkno })
        a->setEnabled(any);
    fillWindowMenu(goingAway);
}

void TDorvan_Central::fillWindowMenu(const QObject* goingAway)
{
    // The window list at the end of the menu: one numbered entry per child window, the active
    // one checked.
    qDeleteAll(windowListActions_);
    windowListActions_.clear();
    const QList<QMdiSubWindow*> subs = openSubWindows(goingAway);
    windowListSeparator_->setVisible(!subs.isEmpty());
    QMdiSubWindow* active = mdiArea_->currentSubWindow();
    int n = 0;
    for (QMdiSubWindow* sub : subs) {
        ++n;
        QString title = sub->windowTitle();
        if (title.isEmpty() && sub->widget() != nullptr)
            title = sub->widget()->windowTitle();
        const QString text = (n < 10 ? QStringLiteral("&%1 %2") : QStringLiteral("%1 %2")).arg(n).arg(title);
        auto* a = new QAction(text, windowMenu_);
        a->setObjectName(QStringLiteral("WindowListItem%1").arg(n));
        a->setCheckable(true);
        a->setChecked(sub == active);
        QPointer<QMdiSubWindow> target(sub);
        connect(a, &QAction::triggered, this, [this, target] {
            if (target) {
                if (target->isMinimized())
                    target->showNormal();
                mdiArea_->setActiveSubWindow(target);
            }
        });
        windowMenu_->addAction(a);
        windowListActions_ << a;
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

void TDorvan_Central::tileSubWindowsHorizontally()
{
    tile(openSubWindows(), mdiArea_->viewport()->rect(), true);
}

void TDorvan_Central::tileSubWindowsVertically()
{
    tile(openSubWindows(), mdiArea_->viewport()->rect(), false);
}

void TDorvan_Central::arrangeMinimisedSubWindows()
{
    // Minimised windows in rows along the bottom edge of the client area, left to right.
    const QRect area = mdiArea_->viewport()->rect();
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

void TDorvan_Central::minimiseAllSubWindows()
{
    for (QMdiSubWindow* sub : openSubWindows())
        sub->showMinimized();
}

// ----------------------------------------------------------------------------------------------
// Opening from the main window

TCooperAlokMetod* openCooperWindow(TDorvan_Central& mainWindow)
{
    dorvan::Project& project = mainWindow.project();
    if (mainWindow.cooperWindowOpen())
        return nullptr;
    auto* w = new TCooperAlokMetod(project, mainWindow.dialogs());
    w->setEntryWindowOpen([main = QPointer<TDorvan_Central>(&mainWindow)] {
        return main != nullptr && main->entryWindowOpen();
    });
    mainWindow.adoptCooperWindow(w);
    w->setResultChoiceByPicture(project.Record.hasPicture());
    return w;
}
