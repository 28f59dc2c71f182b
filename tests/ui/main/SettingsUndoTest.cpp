// The settings page under "Krok späť" and "Krok vpred": the keys typed into a field are one
// step, a choice is one, and the page shows what each undo and redo puts back; a text that a
// run refuses goes back to its default with the edit that started the run.
#include "MainWindowTestSupport.h"

#include "core/project/ProjectDocument.h"
#include "core/project/RecordCodec.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <tuple>

using dorvan::test::MainWindowFixture;

namespace {

struct SettingsUndo : MainWindowFixture {
    QTemporaryDir dir;

    template <typename T> T* page(const char* name)
    {
        auto* c = w->entryWindow() ? w->entryWindow()->findChild<T*>(QString::fromLatin1(name)) : nullptr;
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    void fill(const char* edit, const char* text)
    {
        auto* e = page<QLineEdit>(edit);
        e->clear();
        e->insert(QString::fromUtf8(text));
    }
    // "Nový", three places typed in (the settings box ticks itself) and the project saved.
    void startSavedTriangle()
    {
        w->resize(1200, 900);
        w->show();
        w->projectFiles().NovyVUClick();
        fill("Edit1", "3");
        QTest::keyClick(page<QLineEdit>("Edit1"), Qt::Key_Return);
        for (const auto& [name, x, y] :
            { std::tuple { "A", "0", "0" }, { "B", "10", "0" }, { "C", "5", "10" } }) {
            fill("Edit2", name);
            fill("Edit3", x);
            fill("Edit4", y);
            QTest::mouseClick(page<QPushButton>("OKButton3"), Qt::LeftButton);
        }
        ASSERT_TRUE(state().PlacesComplete);
        ASSERT_TRUE(w->project().Choices.SettingsOn);
        dialogs.fileAnswers = { dir.filePath("s") };
        w->saving().UlozAkoVUClick();
        ASSERT_FALSE(state().UnsavedChanges);
    }
    // A click on a radio button's circle, with the criteria page (and its settings sheet) shown.
    void choose(QRadioButton* b)
    {
        page<QTabWidget>("PageControl1")->setCurrentIndex(1);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    }
    // Keys typed into a field, replacing what it shows.
    void typeKeys(const char* edit, const char* keys)
    {
        auto* e = page<QLineEdit>(edit);
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, QString::fromUtf8(keys));
    }
    // "Krok späť" or "Krok vpred" with the focus away from the settings' fields.
    void step(const char* actionName)
    {
        page<QTableWidget>("StringGrid6")->setFocus();
        action(actionName)->trigger();
    }
    const dorvan::CooperSettings& settings() { return w->project().Choices.Settings; }
};

} // namespace

TEST_F(SettingsUndo, TypedTextAndChoiceAreUndoneAndRedoneAndThePageShowsThem)
{
    startSavedTriangle();
    const dorvan::RecordBytes saved = dorvan::encodeRecord(w->project().Record);
    auto* precision = page<QLineEdit>("Edit47");
    auto* objective = page<QRadioButton>("RadioButton4");
    auto* bothAxes = page<QRadioButton>("RadioButton3");
    ASSERT_TRUE(bothAxes->isChecked());
    const std::size_t savedSteps = w->project().History->done;

    typeKeys("Edit47", "0,5");
    choose(objective);
    ASSERT_EQ(settings().precision(), 5000);
    ASSERT_EQ(settings().rule, dorvan::StoppingRule::Objective);
    EXPECT_TRUE(state().UnsavedChanges);
    EXPECT_EQ(w->project().History->done, savedSteps + 2) << "the keys are one step, the choice one";

    // The choice first, then the three keys at once.
    step("KrokSpat");
    EXPECT_TRUE(bothAxes->isChecked());
    EXPECT_EQ(settings().rule, dorvan::StoppingRule::BothAxes);
    EXPECT_EQ(precision->text(), "0,5");
    step("KrokSpat");
    EXPECT_EQ(precision->text(), "0,01");
    EXPECT_EQ(settings().precision(), 100);
    EXPECT_EQ(w->project().History->done, savedSteps);
    EXPECT_FALSE(state().UnsavedChanges);
    EXPECT_TRUE(w->statusPanelText(1).isEmpty());
    EXPECT_TRUE(dorvan::encodeRecord(w->project().Record) == saved);

    step("KrokVpred");
    EXPECT_EQ(precision->text(), "0,5");
    EXPECT_TRUE(bothAxes->isChecked());
    step("KrokVpred");
    EXPECT_TRUE(objective->isChecked());
    EXPECT_EQ(settings().precision(), 5000);
    EXPECT_FALSE(on("KrokVpred"));
    EXPECT_TRUE(state().UnsavedChanges);
    EXPECT_TRUE(dorvan::encodeRecord(w->project().Record) == saved) << "the settings are not in the file";
}

TEST_F(SettingsUndo, ATextARunRefusedGoesBackWithTheChoiceThatStartedTheRun)
{
    startSavedTriangle();
    const std::size_t savedSteps = w->project().History->done;
    auto* precision = page<QLineEdit>("Edit47");
    auto* axisX = page<QRadioButton>("RadioButton1");
    auto* bothAxes = page<QRadioButton>("RadioButton3");
    w->CooperClick();
    ASSERT_TRUE(w->cooperWindowOpen());

    // A key does not run the open allocation window; the choice does, and the run refuses the
    // text: the box, the default back in the field.
    typeKeys("Edit47", "abc");
    dialogs.shown.clear();
    choose(axisX);
    EXPECT_EQ(dialogs.messages(), QStringList { u("Chybná presnosť !!!") });
    EXPECT_EQ(precision->text(), "0,01");
    EXPECT_EQ(settings().precision(), 100);
    EXPECT_EQ(settings().rule, dorvan::StoppingRule::AxisX);

    // One undo takes back the choice with the refusal: the page shows the rule as it was and
    // the text the user had typed ("abc"); the allocation window runs again on it and refuses it
    // once more, so the field shows the default again.
    dialogs.shown.clear();
    step("KrokSpat");
    EXPECT_TRUE(bothAxes->isChecked());
    EXPECT_EQ(settings().rule, dorvan::StoppingRule::BothAxes);
    EXPECT_EQ(dialogs.messages(), QStringList { u("Chybná presnosť !!!") });
    EXPECT_EQ(precision->text(), "0,01");
    EXPECT_EQ(settings().precision(), 100);
    // The refused keys and their refusal cancel out: back at the saved point.
    EXPECT_EQ(w->project().History->done, savedSteps);
    EXPECT_FALSE(state().UnsavedChanges);
}
