#include "ui/help/Program_Autori.h"

#include "ui/common/UserDialogs.h"
#include "ui/help/HelpPicture.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>

namespace {

constexpr int AuthorsClientWidth = 307;
constexpr int AuthorsClientHeight = 210;
// 0x00E0FF as 0x00BBGGRR: a golden yellow.
const QColor Background(0xFF, 0xE0, 0x00);
const QColor LinkColour(0x00, 0x00, 0x80); // navy
const QColor HoverColour(0xFF, 0x00, 0x00);

const char* const WebAddress = "https://www.example.org/dorvan";
const char* const WebText = "www.example.org/dorvan";
const char* const MailAddress = "dorvan@example.org";
// The subject line of a new message, already in URL form ("Program DORVAN 2.0").
const char* const MailSubject = "Program%20DORVAN%202.0";
const QString WebPageFailed = QStringLiteral("Internetovú stránku sa nepodarilo otvoriť !!!");
const QString MailFailed = QStringLiteral("Poštový program sa nepodarilo otvoriť !!!");

// Tahoma where it is installed, otherwise the nearest sans-serif face.
QFont boxFont(bool bold)
{
    QFont font;
    font.setFamilies({ QStringLiteral("Tahoma"), QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans") });
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(10);
    font.setBold(bold);
    return font;
}

void setTextColour(QLabel* label, const QColor& colour)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
}

} // namespace

TProgramAutori::TProgramAutori(dorvan::UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent)
    , dialogs_(dialogs)
{
    setObjectName(QStringLiteral("ProgramAutori"));
    setWindowTitle(QStringLiteral("O programe"));
    // Fixed border and only a close box.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
        | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    setFixedSize(AuthorsClientWidth, AuthorsClientHeight);
    setSizeGripEnabled(false);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Background);
    setPalette(pal);
    setAutoFillBackground(true);

    textLabel("Label1", QStringLiteral("Program:"), false, 12, 10);
    textLabel("Label2", QStringLiteral("DORVAN "), true, 80, 10);
    textLabel("Label3", QStringLiteral("Verzia:"), false, 12, 30);
    textLabel("Label5", QStringLiteral("2.0 (27.8.2007) beta"), true, 80, 30);
    textLabel("Label6", QStringLiteral("Autor: Ján Vzorový, Dielňa Vzor"), true, 12, 58);
    textLabel("Label7", QStringLiteral("Ukážková 1"), true, 12, 80);
    textLabel("Label8", QStringLiteral("000 00 Vzorovo"), true, 12, 98);
    webLink = linkLabel("Label4", QString::fromLatin1(WebText), 12, 126);
    mailLink = linkLabel("MailLabel1", QString::fromLatin1(MailAddress), 12, 146);

    QString error;
    globePicture = new QLabel(this);
    globePicture->setObjectName(QStringLiteral("Image1"));
    globePicture->setGeometry(255, 8, 40, 40);
    globePicture->setCursor(Qt::PointingHandCursor);
    globePicture->setToolTip(QString::fromLatin1(WebText));
    globePicture->installEventFilter(this);
    const QImage globe = loadJpegPicture(QStringLiteral(":/help/globe.jpg"), &error);
    if (!globe.isNull())
        globePicture->setPixmap(QPixmap::fromImage(globe));

    emblemPicture = new QLabel(this);
    emblemPicture->setObjectName(QStringLiteral("Image2"));
    emblemPicture->setGeometry(245, 112, 52, 52);
    const QImage emblem = loadJpegPicture(QStringLiteral(":/help/emblem.jpg"), &error);
    if (!emblem.isNull())
        emblemPicture->setPixmap(QPixmap::fromImage(emblem));

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("OK1Button"));
    okButton->setGeometry(216, 172, 75, 26);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    // The pictures come with the program; one that cannot be shown is a damaged installation.
    if (!error.isEmpty())
        dialogs_.warn(this, error);
}

QString TProgramAutori::webPageUrl()
{
    return QString::fromLatin1(WebAddress);
}

QString TProgramAutori::mailUrl()
{
    return QStringLiteral("mailto:%1?subject=%2")
        .arg(QString::fromLatin1(MailAddress), QString::fromLatin1(MailSubject));
}

QLabel* TProgramAutori::textLabel(const char* name, const QString& text, bool bold, int x, int y)
{
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(boxFont(bold));
    label->move(x, y);
    label->adjustSize();
    return label;
}

QLabel* TProgramAutori::linkLabel(const char* name, const QString& text, int x, int y)
{
    QLabel* label = textLabel(name, text, false, x, y);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    label->adjustSize();
    setTextColour(label, LinkColour);
    label->setCursor(Qt::PointingHandCursor);
    label->installEventFilter(this);
    return label;
}

bool TProgramAutori::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Enter) {
        if (watched == webLink)
            onWebLinkEntered();
        else if (watched == mailLink)
            onMailLinkEntered();
        else if (watched == globePicture)
            onGlobeEntered();
    } else if (type == QEvent::Leave) {
        if (watched == webLink)
            onWebLinkLeft();
        else if (watched == mailLink)
            onMailLinkLeft();
        else if (watched == globePicture)
            onGlobeLeft();
    } else if (type == QEvent::MouseButtonRelease) {
        // A click: the left button released over the control it was pressed on.
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (mouse->button() == Qt::LeftButton && widget
            && widget->rect().contains(mouse->position().toPoint())) {
            if (watched == webLink)
                onWebLinkClicked();
            else if (watched == mailLink)
                onMailLinkClicked();
            else if (watched == globePicture)
                onGlobeClicked();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TProgramAutori::openLink(const QString& url, const QString& failure)
{
    if (!dialogs_.openUrl(url))
        dialogs_.warn(this, failure);
}

void TProgramAutori::onWebLinkClicked()
{
    openLink(webPageUrl(), WebPageFailed);
}

void TProgramAutori::onGlobeClicked()
{
    openLink(webPageUrl(), WebPageFailed);
}

void TProgramAutori::onMailLinkClicked()
{
    openLink(mailUrl(), MailFailed);
}

void TProgramAutori::onWebLinkEntered()
{
    setTextColour(webLink, HoverColour);
    webLink->setCursor(Qt::PointingHandCursor);
}

void TProgramAutori::onWebLinkLeft()
{
    setTextColour(webLink, LinkColour);
    webLink->setCursor(Qt::ArrowCursor);
}

void TProgramAutori::onMailLinkEntered()
{
    setTextColour(mailLink, HoverColour);
    mailLink->setCursor(Qt::PointingHandCursor);
}

void TProgramAutori::onMailLinkLeft()
{
    setTextColour(mailLink, LinkColour);
    mailLink->setCursor(Qt::ArrowCursor);
}

void TProgramAutori::onGlobeEntered()
{
    globePicture->setCursor(Qt::PointingHandCursor);
}

void TProgramAutori::onGlobeLeft()
{
    globePicture->setCursor(Qt::ArrowCursor);
}
