#pragma once

#include "entry/EntryHost.h"
#include "entry/Vstupne_Udaje.h"
#include "project/Dorvan_Hlavny.h"
#include "support/ScriptedDialogs.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace dorvan::test {

// A main window with scripted dialogs.
struct MainWindowFixture : ::testing::Test {
    ScriptedDialogs dialogs;
    std::unique_ptr<TDorvan_Central> w = std::make_unique<TDorvan_Central>(dialogs);

    QAction* action(const char* name) const
    {
        auto* a = w->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
    QToolButton* button(const char* name) const
    {
        auto* b = w->findChild<QToolButton*>(QString::fromLatin1(name));
        EXPECT_NE(b, nullptr) << name;
        return b;
    }
    template <typename T> T* child(const char* name) const
    {
        auto* c = w->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    // The data-entry mode switch on the toolbar (the data-entry window has controls of the
    // same names).
    template <typename T> T* modeSwitch(const char* name) const
    {
        auto* bar = w->findChild<QToolBar*>(QStringLiteral("ToolBar1"));
        auto* c = bar != nullptr ? bar->findChild<T*>(QString::fromLatin1(name)) : nullptr;
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    bool on(const char* actionName) const
    {
        QAction* a = action(actionName);
        return a != nullptr && a->isEnabled();
    }
    WorkingState& state() { return w->project().State; }
    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

// Stands in for the data-entry window's own close question: answers it the way the user would
// and sets what that window sets, so the main window's side can be tested on its own.
class EntryCloseAnswer : public QObject {
public:
    EntryCloseAnswer(TDorvan_Central& frame, bool yes)
        : frame_(frame)
        , yes_(yes)
    {
        if (frame.entryWindow() != nullptr)
            frame.entryWindow()->installEventFilter(this);
    }
    int asked = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() != QEvent::Close)
            return false;
        ++asked;
        auto& s = frame_.project().State;
        if (yes_) {
            s.DataEntryOpen = false;
            s.AddPlacesMode = false;
            s.EntryWindowClosed = true;
            s.EntryClosable = false;
            static_cast<EntryHost&>(frame_).entryWindowClosed();
            e->accept();
        } else {
            s.EntryWindowClosed = false;
            e->ignore();
        }
        return true;
    }

private:
    TDorvan_Central& frame_;
    bool yes_;
};

} // namespace dorvan::test
