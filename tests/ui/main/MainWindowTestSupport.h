#pragma once

#include "support/Controls.h"
#include "support/ScriptedDialogs.h"
#include "ui/entry/EntryHost.h"
#include "ui/entry/Vstupne_Udaje.h"
#include "ui/main/DataModeSwitch.h"
#include "ui/main/Dorvan_Hlavny.h"
#include "ui/main/MainStatus.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>
#include <source_location>

namespace dorvan::test {

// A main window with scripted dialogs.
struct MainWindowFixture : ::testing::Test {
    ScriptedDialogs dialogs;
    std::unique_ptr<TDorvan_Central> w = std::make_unique<TDorvan_Central>(dialogs);

    // Never null: a missing item or control stops the test (see Controls.h).
    QAction* action(const char* name, Here at = Here::current()) const
    {
        return control<QAction>(w.get(), name, at);
    }
    QToolButton* button(const char* name, Here at = Here::current()) const
    {
        return control<QToolButton>(w.get(), name, at);
    }
    template <typename T> T* child(const char* name, Here at = Here::current()) const
    {
        return control<T>(w.get(), name, at);
    }
    // The data-entry mode switch on the toolbar (the data-entry window has controls of the
    // same names).
    template <typename T> T* modeSwitch(const char* name, Here at = Here::current()) const
    {
        return control<T>(control<QToolBar>(w.get(), "ToolBar1", at), name, at);
    }
    bool on(const char* actionName, Here at = Here::current()) const
    {
        return action(actionName, at)->isEnabled();
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
            s.AddPlacesMode = false;
            s.EntryWindowClosed = true;
            s.EntryClosable = false;
            static_cast<EntryHost&>(frame_.projectWindows()).entryWindowClosed();
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
