#include "ui/help/Pomoc_Napoveda.h"

#include "core/entry/PlaceList.h"
#include "core/project/ProjectFile.h"
#include "ui/allocation/Cooperova_Metoda.h"
#include "ui/help/HelpPages.h"
#include "ui/main/Dorvan_Hlavny.h"

#include "core/project/Project.h"
#include "support/ScriptedDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QTextEdit>

#include <gtest/gtest.h>

using dorvan::test::ScriptedDialogs;

namespace {

struct HelpFixture : ::testing::Test {
    dorvan::Project project;
    ScriptedDialogs dialogs;

    HelpFixture() { project.resetAtStart(); }

    static void deletePending() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    // The help window as the main window opens it: in an MDI frame.
    QMdiSubWindow* openInFrame(QMdiArea& area)
    {
        area.resize(900, 700);
        area.show();
        QMdiSubWindow* frame = area.addSubWindow(new TPomocNapoveda(project, dialogs));
        frame->show();
        return frame;
    }
};

} // namespace

TEST_F(HelpFixture, PagesGroupsAndCaptionsAreInPlace)
{
    TPomocNapoveda help(project, dialogs);
    EXPECT_EQ(help.windowTitle(), QStringLiteral("Pomoc a nápoveda"));
    EXPECT_EQ(help.sizeHint(), QSize(682, 449));
    EXPECT_EQ(help.size(), QSize(682, 449));

    auto* pages = help.findChild<QTabWidget*>("PageControl1");
    ASSERT_NE(pages, nullptr);
    // The four first pages, then the pages of text about the later capabilities.
    ASSERT_EQ(pages->count(), 11);
    const QStringList captions = { QStringLiteral("Hlavné \"MENU\""), QStringLiteral("Vstupné dáta"),
        QStringLiteral("Riešenie \"DORVAN\""), QStringLiteral("Program") };
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(pages->tabText(i), captions[i]);
        EXPECT_EQ(pages->widget(i)->objectName(), QStringLiteral("TabSheet%1").arg(i + 1));
    }

    auto caption = [&](const char* name) {
        auto* box = help.findChild<QGroupBox*>(name);
        return box ? box->title() : QStringLiteral("<missing>");
    };
    EXPECT_EQ(caption("GroupBox1"), QStringLiteral(" Hlavné \"MENU\""));
    EXPECT_EQ(caption("GroupBox2"), QStringLiteral(" Zadávanie vstupných dát "));
    EXPECT_EQ(caption("GroupBox3"), QStringLiteral(" Nový súbor "));
    EXPECT_EQ(caption("GroupBox4"), QStringLiteral(" Zobrazenie riešenia "));
    // The inner group of page 2 sits inside the outer one; pictures sit on their pages.
    EXPECT_TRUE(
        help.findChild<QGroupBox*>("GroupBox2")->isAncestorOf(help.findChild<QGroupBox*>("GroupBox3")));
    EXPECT_TRUE(pages->widget(0)->isAncestorOf(help.findChild<QLabel*>("Image2")));
    EXPECT_TRUE(help.findChild<QGroupBox*>("GroupBox3")->isAncestorOf(help.findChild<QLabel*>("Image3")));
    for (const char* name : { "Image4", "Image5", "Image6", "Image7" })
        EXPECT_TRUE(help.findChild<QGroupBox*>("GroupBox4")->isAncestorOf(help.findChild<QLabel*>(name)))
            << name;
    EXPECT_TRUE(pages->widget(3)->children().isEmpty());
    const QStringList later = { QStringLiteral("Certifikát"), QStringLiteral("Graf"),
        QStringLiteral("Skupiny"), QStringLiteral("Siete"), QStringLiteral("Import a export"),
        QStringLiteral("Zostava"), QStringLiteral("Príklad") };
    for (int i = 4; i < 11; ++i) {
        EXPECT_EQ(pages->tabText(i), later[i - 4]);
        EXPECT_EQ(pages->widget(i)->objectName(), QStringLiteral("TabSheet%1").arg(i + 1));
        // Each is a group with a caption framed by blanks holding a read-only text.
        auto* box = pages->widget(i)->findChild<QGroupBox*>(QStringLiteral("GroupBox%1").arg(i + 1));
        ASSERT_NE(box, nullptr) << i;
        EXPECT_TRUE(box->title().startsWith(' ') && box->title().endsWith(' ')) << i;
        auto* text = box->findChild<QTextEdit*>();
        ASSERT_NE(text, nullptr) << i;
        EXPECT_TRUE(text->isReadOnly());
        EXPECT_GT(text->toPlainText().size(), 200) << i;
    }
    // What each page must name.
    auto pageText = [&](int i) { return pages->widget(i)->findChild<QTextEdit*>()->toPlainText(); };
    EXPECT_TRUE(pageText(4).contains(QStringLiteral("Výsledok je nanajvýš o X % horší ako optimum")));
    EXPECT_TRUE(pageText(5).contains(QStringLiteral("Rovnaká mierka osí")));
    EXPECT_TRUE(pageText(5).contains(QStringLiteral("Izočiary nákladov")));
    EXPECT_TRUE(pageText(6).contains(QStringLiteral("Existujúce centrá")));
    EXPECT_TRUE(pageText(6).contains(QStringLiteral("Rovnomernosť počtu miest v skupinách")));
    EXPECT_TRUE(pageText(7).contains(QStringLiteral("dorvan --network PROJEKT.mzd")));
    EXPECT_TRUE(pageText(8).contains(QStringLiteral("zemepisná šírka a dĺžka")));

    auto* staticText = help.findChild<QLabel*>("StaticText1");
    ASSERT_NE(staticText, nullptr);
    EXPECT_EQ(staticText->text(), QStringLiteral("Zavrieť okno - Zavrieť aktívne okno"));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(HelpFixture, ToolbarListHasTwelveLinesWithTheFirstSixPadded)
{
    TPomocNapoveda help(project, dialogs);
    auto* text = help.findChild<QTextEdit*>("RichEdit1");
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->isReadOnly());
    const QStringList lines = text->toPlainText().split(QLatin1Char('\n'));
    const QStringList expected = {
        QStringLiteral("1 - Vytvorenie nového zadania"),
        QStringLiteral("2 - Otvorenie existujúceho riešenia"),
        QStringLiteral("3 - Uloženie zadaných hodnôt"),
        QStringLiteral("4 - Tlač obrazovky aktívneho okna"),
        QStringLiteral("5 - Vloženie kopírovaných dát"),
        QStringLiteral("6 - Kopírovania označených dát"),
        QStringLiteral("7 - Odrezanie označených dát"),
        QStringLiteral("8 - kaskádové usporiadanie okien"),
        QStringLiteral("9 - Horizontálne usporiadanie okien"),
        QStringLiteral("10 - Vertikálne usporiadanie okien"),
        QStringLiteral("11 - Zatvorenie aktívneho okna"),
        QStringLiteral("12 - Skončenie programu"),
    };
    ASSERT_EQ(lines.size(), 12);
    for (int i = 0; i < 12; ++i) {
        // Only blanks are added, and only on the right.
        EXPECT_EQ(i < 6 ? QString(lines[i]).remove(QRegularExpression(" +$")) : lines[i], expected[i]) << i;
        EXPECT_TRUE(lines[i].startsWith(expected[i])) << i;
    }
    // The longest of the first six sets the width; the others are padded to it.
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(lines[i].size(), expected[1].size()) << i;
    EXPECT_EQ(lines[0], expected[0] + QString(6, QLatin1Char(' ')));
}

TEST_F(HelpFixture, BackgroundIsMoneyGreenAndEveryPictureIsShown)
{
    TPomocNapoveda help(project, dialogs);
    EXPECT_EQ(help.palette().color(QPalette::Window), QColor(0xC0, 0xDC, 0xC0));
    const QImage shot = help.grab().toImage();
    // The pages carry the window's colour (the empty page "Program" shows it best; the margin
    // of a page of text shows it too).
    auto* pages = help.findChild<QTabWidget*>("PageControl1");
    pages->setCurrentIndex(4);
    const QImage text = help.grab().toImage();
    EXPECT_EQ(QColor(text.pixel(pages->currentWidget()->mapTo(&help, QPoint(1, 1)))), QColor(0xC0, 0xDC, 0xC0));
    EXPECT_EQ(QColor(shot.pixel(pages->widget(0)->mapTo(&help, QPoint(1, 1)))), QColor(0xC0, 0xDC, 0xC0));
    pages->setCurrentIndex(3);
    const QImage empty = help.grab().toImage();
    EXPECT_EQ(QColor(empty.pixel(341, 240)), QColor(0xC0, 0xDC, 0xC0));
    pages->setCurrentIndex(0);

    for (int i = 1; i <= 7; ++i) {
        auto* label = help.findChild<QLabel*>(QStringLiteral("Image%1").arg(i));
        ASSERT_NE(label, nullptr) << i;
        const QImage image = label->pixmap().toImage();
        ASSERT_FALSE(image.isNull()) << i;
        EXPECT_GE(image.width(), 200) << i;
        EXPECT_GE(image.height(), 50) << i;
        // A real picture, not a blank: many different colours.
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2)
                colours.insert(image.pixel(x, y));
        EXPECT_GT(colours.size(), 50) << i;
    }
    // The toolbar picture spans the page width, the four solution pictures are stacked.
    EXPECT_GE(help.findChild<QLabel*>("Image1")->width(), 600);
    EXPECT_LT(help.findChild<QLabel*>("Image4")->y(), help.findChild<QLabel*>("Image5")->y());
    EXPECT_LT(help.findChild<QLabel*>("Image5")->y(), help.findChild<QLabel*>("Image6")->y());
    EXPECT_LT(help.findChild<QLabel*>("Image6")->y(), help.findChild<QLabel*>("Image7")->y());
}

TEST_F(HelpFixture, ClosingTheWidgetItselfTakesItsFrameAlongAndAsksOnce)
{
    QMdiArea area;
    QPointer<QMdiSubWindow> frame = openInFrame(area);
    QPointer<TPomocNapoveda> window = qobject_cast<TPomocNapoveda*>(frame->widget());
    ASSERT_TRUE(window);

    dialogs.confirmAnswers = { false };
    EXPECT_FALSE(window->close());
    deletePending();
    ASSERT_TRUE(window);
    EXPECT_TRUE(frame && frame->isVisible());

    dialogs.confirmAnswers = { true };
    EXPECT_TRUE(window->close());
    deletePending();
    EXPECT_FALSE(window);
    EXPECT_FALSE(frame);
    EXPECT_EQ(dialogs.texts("confirm").size(), 2);

    // Without a frame the window closes and is destroyed just the same.
    QPointer<TPomocNapoveda> alone = new TPomocNapoveda(project, dialogs);
    alone->show();
    dialogs.confirmAnswers = { true };
    EXPECT_TRUE(alone->close());
    deletePending();
    EXPECT_FALSE(alone);
}

TEST_F(HelpFixture, TheCloseWindowTextIsTheMenuItemAndItsHint)
{
    TDorvan_Central main(dialogs);
    auto* item = main.findChild<QAction*>(QStringLiteral("ZavrietOkno"));
    ASSERT_NE(item, nullptr);
    TPomocNapoveda help(project, dialogs);
    auto* text = help.findChild<QLabel*>("StaticText1");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(), QString(item->text()).remove('&') + QStringLiteral(" - ") + item->statusTip());
}

TEST_F(HelpFixture, TheReportPageNamesTheMenuItemsAndTheWindowsOwnTexts)
{
    TDorvan_Central main(dialogs);
    TPomocNapoveda help(project, dialogs);
    auto* page = help.findChild<QWidget*>(QStringLiteral("TabSheet10"));
    ASSERT_NE(page, nullptr);
    auto* box = page->findChild<QGroupBox*>(QStringLiteral("GroupBox10"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->title(), QStringLiteral(" Zostava, tlač a export výsledku "));
    const QString text = page->findChild<QTextEdit*>(QStringLiteral("RichEdit7"))->toPlainText();
    // Each item as the Súbor menu spells it, so that a reader finds it there.
    for (const char* name : { "ZostavaPdf", "TlacitZostavu", "ExportujVysledok", "KopirovatVysledok" }) {
        auto* item = main.findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_NE(item, nullptr) << name;
        EXPECT_TRUE(text.contains(QStringLiteral("\"Súbor → ") + QString(item->text()).remove('&') + '"'))
            << name << ": " << item->text().toStdString();
    }
    // The allocation window's own words: its list's caption, its picture choices and boxes, and
    // the write failure's message as the main window gives it.
    dorvan::Project solved;
    solved.resetAtStart();
    TCooperAlokMetod cooper(solved, dialogs);
    for (const char* name :
        { "GroupBox7", "RadioButton1", "RadioButton2", "EqualScaleBox", "CostContoursBox" }) {
        QString caption;
        if (auto* b = cooper.findChild<QGroupBox*>(QString::fromLatin1(name)))
            caption = b->title().trimmed();
        else if (auto* a = cooper.findChild<QAbstractButton*>(QString::fromLatin1(name)))
            caption = a->text();
        ASSERT_FALSE(caption.isEmpty()) << name;
        EXPECT_TRUE(text.contains(QLatin1Char('"') + caption + QLatin1Char('"'))) << caption.toStdString();
    }
    EXPECT_TRUE(text.contains(QStringLiteral("\"Súbor NÁZOV sa nedá zapísať !!!\"")));
    EXPECT_TRUE(text.contains(QStringLiteral("dorvan-cli report PROJEKT.mzd --out zostava.pdf")));
    dialogs.confirmAnswers.assign(4, true);
}

TEST_F(HelpFixture, TheWorkedExampleIsWhatTheAllocationWindowShowsForIt)
{
    // The example's places typed in as a project, opened and solved with the window's defaults.
    auto r = std::make_unique<dorvan::TProjectRecord>();
    dorvan::ResetProjectAtStart(*r);
    dorvan::ResetProjectForNew(*r);
    int n = 0;
    for (const HelpExamplePlace& p : helpExamplePlaces())
        dorvan::storeNewPlace(*r, ++n, dorvan::Text100::fromUtf8(p.name), p.x, p.y);
    dorvan::computeDistances(*r, n);
    r->SavedPlaceCount = n;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("example.mzd"));
    dorvan::saveProjectFile(file.toStdString(), *r, {});
    TDorvan_Central main(dialogs);
    main.resize(1280, 900);
    main.show();
    ASSERT_TRUE(main.openProjectFile(file));
    deletePending();
    main.CooperClick();
    QCoreApplication::processEvents();
    auto* window = main.findChild<TCooperAlokMetod*>(QStringLiteral("CooperAlokMetod"));
    ASSERT_NE(window, nullptr);
    auto lines = [&](const char* name) {
        QStringList out;
        auto* list = window->findChild<QListWidget*>(QString::fromLatin1(name));
        for (int i = 0; list != nullptr && i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    };
    EXPECT_EQ(lines("ListBox1"), helpExamplePathLines());
    EXPECT_EQ(lines("ListBox2"), helpExamplePlaceLines());
    EXPECT_FALSE(helpExamplePathLines().isEmpty());

    // The help's page shows those lines.
    TPomocNapoveda help(project, dialogs);
    auto* text = help.findChild<QTextEdit*>("RichEdit8");
    ASSERT_NE(text, nullptr);
    for (const QString& line : helpExamplePathLines() + helpExamplePlaceLines())
        EXPECT_TRUE(text->toPlainText().contains(line)) << line.toStdString();
    dialogs.confirmAnswers.assign(8, true); // the child windows' close questions
}
