// The station graph's place list shows every line whole, whatever the names' length.
#include "ui/network/Graficka_Siet_Stanic.h"

#include "core/entry/PlaceList.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QFontMetrics>
#include <QListWidget>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct GraphPlaceSpec {
    const char* name;
    double x;
    double y;
};

struct ListCase {
    const char* what;
    std::vector<GraphPlaceSpec> places;
};

TEST(StationGraphList, EveryLineIsShownWhole)
{
    const ListCase cases[] = {
        { "short names", { { "A", 0, 0 }, { "B", 1, 0 }, { "C", 0, 1 } } },
        { "towns with decimals",
            { { "Banská Bystrica", 152.9751, 109.2785 }, { "Brezno", 30.1, 45.25 },
                { "Liptovský Mikuláš", 187.2028, 147.7963 } } },
        { "a long name and long numbers",
            { { "Nové Mesto nad Váhom - priemyselný park", -1234.5678, 98765.4321 }, { "X", 0, 0 },
                { "Y", 1, 1 } } },
    };
    for (const ListCase& c : cases) {
        SCOPED_TRACE(c.what);
        dorvan::Project project;
        project.resetAtStart();
        int n = 0;
        for (const GraphPlaceSpec& p : c.places) {
            ++n;
            project.Record.PlaceName[n] = dorvan::Text100::fromUtf8(p.name);
            project.Record.PlaceX[n] = p.x;
            project.Record.PlaceY[n] = p.y;
        }
        project.State.PlaceCount = n;
        dorvan::test::ScriptedDialogs dialogs;
        TGrafickaSietStanic w(project, dialogs);
        w.setAttribute(Qt::WA_DeleteOnClose, false);
        w.show();
        QApplication::processEvents();
        w.KresliGraf();
        QApplication::processEvents();

        auto* list = w.findChild<QListWidget*>("ListBox1");
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->count(), n);
        // Nothing to scroll sideways, and each line's text within the visible part.
        EXPECT_EQ(list->horizontalScrollBar()->maximum(), 0);
        const QFontMetrics fm(list->font());
        for (int i = 0; i < list->count(); ++i) {
            const QString text = list->item(i)->text();
            const QRect r = list->visualItemRect(list->item(i));
            EXPECT_LE(r.left() + fm.horizontalAdvance(text), list->viewport()->width()) << text.toStdString();
        }
        // The drawing takes the rest of the window.
        EXPECT_EQ(w.image().width(), w.width() - list->width());
    }
}

} // namespace
