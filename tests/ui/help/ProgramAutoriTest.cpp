#include "ui/help/Program_Autori.h"

#include "support/ScriptedDialogs.h"
#include "support/Colours.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using dorvan::test::ScriptedDialogs;

namespace {

const QColor Navy(0x00, 0x00, 0x80);
using dorvan::test::Red;
const QString WebPage = QStringLiteral("https://www.example.org/dorvan");
const QString MailLink = QStringLiteral("mailto:dorvan@example.org?subject=Program%20DORVAN%202.0");

QColor textColour(const QLabel* label)
{
    return label->palette().color(QPalette::WindowText);
}

void enter(QWidget* w)
{
    QEnterEvent e(QPointF(2, 2), QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)));
    QCoreApplication::sendEvent(w, &e);
}

void leave(QWidget* w)
{
    QEvent e(QEvent::Leave);
    QCoreApplication::sendEvent(w, &e);
}

} // namespace

TEST(ProgramAutori, BoxShowsItsFixedTextsOnGoldenYellow)
{
    ScriptedDialogs dialogs;
    TProgramAutori box(dialogs);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("O programe"));
    EXPECT_EQ(box.minimumSize(), QSize(307, 210));
    EXPECT_EQ(box.maximumSize(), QSize(307, 210));
    const Qt::WindowFlags flags = box.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowContextHelpButtonHint);
    EXPECT_TRUE(box.isHidden());

    // 0x00E0FF as 0x00BBGGRR: red 0xFF, green 0xE0, blue 0x00.
    EXPECT_EQ(box.palette().color(QPalette::Window), QColor(255, 224, 0));
    const QImage shot = box.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(2, 205)), QColor(255, 224, 0));

    auto label = [&](const char* name) { return box.findChild<QLabel*>(name); };
    struct Expect {
        const char* name;
        QString text;
        bool bold;
    };
    const Expect texts[] = {
        { "Label1", QStringLiteral("Program:"), false },
        { "Label2", QStringLiteral("DORVAN "), true },
        { "Label3", QStringLiteral("Verzia:"), false },
        { "Label5", QStringLiteral("2.0 (27.8.2007) beta"), true },
    };
    for (const Expect& e : texts) {
        QLabel* l = label(e.name);
        ASSERT_NE(l, nullptr) << e.name;
        EXPECT_EQ(l->text(), e.text) << e.name;
        EXPECT_EQ(l->font().bold(), e.bold) << e.name;
        EXPECT_EQ(l->font().pointSize(), 10) << e.name;
        EXPECT_EQ(l->font().families().value(0), QStringLiteral("Tahoma")) << e.name;
    }
    // Credit and address lines in bold, none of them empty, all inside the box.
    for (const char* name : { "Label6", "Label7", "Label8" }) {
        ASSERT_NE(label(name), nullptr) << name;
        EXPECT_TRUE(label(name)->font().bold()) << name;
        EXPECT_FALSE(label(name)->text().trimmed().isEmpty()) << name;
    }
    // Everything inside the box and nothing over anything else, whatever font stands in for Tahoma.
    QList<QWidget*> parts;
    for (QLabel* l : box.findChildren<QLabel*>())
        parts << l;
    parts << box.findChild<QPushButton*>("OK1Button");
    for (QWidget* a : parts) {
        EXPECT_TRUE(box.rect().contains(a->geometry())) << a->objectName().toStdString();
        for (QWidget* b : parts) {
            if (a != b) {
                EXPECT_FALSE(a->geometry().intersects(b->geometry()))
                    << a->objectName().toStdString() << " " << b->objectName().toStdString();
            }
        }
    }

    for (const char* name : { "Label4", "MailLabel1" }) {
        QLabel* l = label(name);
        ASSERT_NE(l, nullptr) << name;
        EXPECT_EQ(textColour(l), Navy) << name;
        EXPECT_TRUE(l->font().underline()) << name;
        EXPECT_EQ(l->cursor().shape(), Qt::PointingHandCursor) << name;
    }
    EXPECT_EQ(label("Label4")->text(), QStringLiteral("www.example.org/dorvan"));
    EXPECT_EQ(label("MailLabel1")->text(), QStringLiteral("dorvan@example.org"));

    // Two real pictures, the clickable one at the top right.
    QLabel* image1 = label("Image1");
    ASSERT_NE(image1, nullptr);
    ASSERT_NE(label("Image2"), nullptr);
    EXPECT_GT(image1->x(), 307 / 2);
    EXPECT_LT(image1->y(), 30);
    for (QLabel* picture : { image1, label("Image2") }) {
        const QImage image = picture->pixmap().toImage();
        ASSERT_FALSE(image.isNull());
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                colours.insert(image.pixel(x, y));
        EXPECT_GT(colours.size(), 10);
    }
    auto* ok = box.findChild<QPushButton*>("OK1Button");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST(ProgramAutori, LinksTurnRedUnderTheMouseAndBackToNavy)
{
    ScriptedDialogs dialogs;
    TProgramAutori box(dialogs);
    for (const char* name : { "Label4", "MailLabel1" }) {
        auto* l = box.findChild<QLabel*>(name);
        ASSERT_NE(l, nullptr);
        enter(l);
        EXPECT_EQ(textColour(l), Red) << name;
        EXPECT_EQ(l->cursor().shape(), Qt::PointingHandCursor) << name;
        leave(l);
        EXPECT_EQ(textColour(l), Navy) << name;
        EXPECT_EQ(l->cursor().shape(), Qt::ArrowCursor) << name;
        enter(l);
        EXPECT_EQ(textColour(l), Red) << name;
        EXPECT_EQ(l->cursor().shape(), Qt::PointingHandCursor) << name;
        leave(l);
    }
    // Hovering one link leaves the other alone.
    auto* web = box.findChild<QLabel*>("Label4");
    auto* mail = box.findChild<QLabel*>("MailLabel1");
    enter(web);
    EXPECT_EQ(textColour(mail), Navy);
    leave(web);

    auto* image = box.findChild<QLabel*>("Image1");
    ASSERT_NE(image, nullptr);
    leave(image);
    EXPECT_EQ(image->cursor().shape(), Qt::ArrowCursor);
    enter(image);
    EXPECT_EQ(image->cursor().shape(), Qt::PointingHandCursor);
}

TEST(ProgramAutori, ClicksOpenTheWebPageAndANewMessage)
{
    ScriptedDialogs dialogs;
    TProgramAutori box(dialogs);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    auto* web = box.findChild<QLabel*>("Label4");
    auto* mail = box.findChild<QLabel*>("MailLabel1");
    auto* image = box.findChild<QLabel*>("Image1");

    QTest::mouseClick(web, Qt::LeftButton);
    QTest::mouseClick(image, Qt::LeftButton);
    QTest::mouseClick(mail, Qt::LeftButton);
    QTest::mouseClick(web, Qt::RightButton); // only the left button follows a link
    EXPECT_EQ(dialogs.texts("url"), QStringList({ WebPage, WebPage, MailLink }));
    EXPECT_TRUE(dialogs.messages().isEmpty());

    // When the desktop cannot open an address the user is told so.
    dialogs.urlAnswers = { false, false };
    QTest::mouseClick(web, Qt::LeftButton);
    QTest::mouseClick(mail, Qt::LeftButton);
    EXPECT_EQ(dialogs.texts("warn"),
        QStringList({ QStringLiteral("Internetovú stránku sa nepodarilo otvoriť !!!"),
            QStringLiteral("Poštový program sa nepodarilo otvoriť !!!") }));
    EXPECT_TRUE(box.isVisible());
}

TEST(ProgramAutori, SameBoxShowsModallyTwiceAndOkClosesIt)
{
    ScriptedDialogs dialogs;
    QWidget mainWindow;
    mainWindow.show();
    auto* box = new TProgramAutori(dialogs, &mainWindow);
    EXPECT_TRUE(box->isHidden());

    for (int round = 0; round < 2; ++round) {
        bool wasModal = false;
        QTimer::singleShot(0, box, [box, &wasModal] {
            wasModal = box->isVisible() && QApplication::activeModalWidget() == box;
            QTest::mouseClick(box->findChild<QPushButton*>("OK1Button"), Qt::LeftButton);
        });
        EXPECT_EQ(box->exec(), QDialog::Accepted) << round;
        EXPECT_TRUE(wasModal) << round;
        EXPECT_FALSE(box->isVisible()) << round;
        EXPECT_EQ(mainWindow.findChildren<TProgramAutori*>().size(), 1) << round;
    }
    // The close box dismisses it too, and it can still be shown afterwards.
    QTimer::singleShot(0, box, [box] { box->close(); });
    EXPECT_EQ(box->exec(), QDialog::Rejected);
    EXPECT_FALSE(box->isVisible());
}
