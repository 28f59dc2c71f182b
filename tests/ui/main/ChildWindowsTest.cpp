// The close question of each child window of the main window, asked the same way for all five:
// No keeps the window, Yes takes it away with the windows that go with it and no others.
#include "ui/allocation/Cooperova_Metoda.h"
#include "ui/entry/Vstupne_Udaje.h"
#include "ui/help/Pomoc_Napoveda.h"
#include "ui/main/Dorvan_Hlavny.h"
#include "ui/main/NetworkWindows.h"
#include "ui/network/Graficka_Siet_Stanic.h"
#include "ui/network/Metoda_Sieti.h"
#include "support/ScriptedDialogs.h"

#include <QCoreApplication>
#include <QMdiSubWindow>
#include <QPointer>

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace {

using dorvan::test::ScriptedDialogs;

// The five child windows, in the order of the table below.
enum Child { Entry, Cooper, Network, Graph, Help, ChildCount };

struct Open {
    std::array<QPointer<QWidget>, ChildCount> windows;
};

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The sample project opened, its allocation and network windows and the help window open.
Open openAll(TDorvan_Central& w)
{
    Open o;
    EXPECT_TRUE(w.openProjectFile(QStringLiteral(DORVAN_EXAMPLES "/slovak_towns.mzd")));
    settle();
    w.CooperClick();
    settle();
    w.SieteClick();
    settle();
    w.PomocClick();
    settle();
    o.windows = { w.entryWindow(), w.cooperWindow(), w.networkWindows().networkWindow(),
        w.networkWindows().graphWindow(), w.helpWindow() };
    return o;
}

TEST(ChildWindows, EachAsksItsQuestionWithNoPreselectedNoKeepsItAndYesTakesAlongWhatGoesWithIt)
{
    const auto u = [](const char* s) { return QString::fromUtf8(s); };
    struct Row {
        Child child;
        QString question;
        // Which windows are gone after Yes (the window itself among them).
        std::array<bool, ChildCount> gone;
    };
    const Row rows[] = {
        { Entry, u("Zavrieť \"Zadávanie údajov\" ?!!"), { true, true, true, true, false } },
        { Cooper, u("Zavrieť \"Cooperovu alokačnú metódu\" ?!!"), { false, true, false, false, false } },
        { Network, u("Zavrieť \"Metódu definovania sietí\" ?!!"), { false, false, true, true, false } },
        { Graph, u("Zavrieť grafický náhľad ?!!"), { false, false, false, true, false } },
        { Help, u("Zavrieť \"Pomoc - Nápovedu\" ?!!"), { false, false, false, false, true } },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.question.toStdString());
        ScriptedDialogs dialogs;
        auto w = std::make_unique<TDorvan_Central>(dialogs);
        w->resize(1280, 900);
        w->show();
        Open o = openAll(*w);
        for (int c = 0; c < ChildCount; ++c)
            ASSERT_NE(o.windows[c], nullptr) << c;
        QWidget* window = o.windows[row.child];
        auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget());
        ASSERT_NE(frame, nullptr);
        const std::size_t before = dialogs.shown.size();

        dialogs.confirmAnswers = { false };
        EXPECT_FALSE(frame->close());
        settle();
        for (int c = 0; c < ChildCount; ++c)
            EXPECT_NE(o.windows[c], nullptr) << "No keeps every window: " << c;
        ASSERT_EQ(dialogs.shown.size(), before + 1);
        EXPECT_EQ(dialogs.shown.back().kind, "confirm");
        EXPECT_EQ(dialogs.shown.back().text, row.question);
        EXPECT_FALSE(dialogs.shown.back().defaultYes);

        dialogs.confirmAnswers = { true };
        EXPECT_TRUE(frame->close());
        settle();
        // Only the window's own question was asked: what goes along goes without one.
        EXPECT_EQ(dialogs.texts("confirm"), (QStringList { row.question, row.question }));
        for (int c = 0; c < ChildCount; ++c)
            EXPECT_EQ(o.windows[c] == nullptr, row.gone[c]) << "window " << c;
        EXPECT_EQ(w->cooperWindowOpen(), !row.gone[Cooper]);
        EXPECT_EQ(w->networkWindows().networkWindowOpen(), !row.gone[Network]);
        EXPECT_EQ(w->entryWindowOpen(), !row.gone[Entry]);
    }
}

} // namespace
