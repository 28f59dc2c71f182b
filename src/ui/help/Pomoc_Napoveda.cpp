#include "ui/help/Pomoc_Napoveda.h"

#include "ui/common/UserDialogs.h"
#include "ui/help/HelpPages.h"
#include "ui/help/HelpPicture.h"
#include "core/project/Project.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString CloseQuestion = QStringLiteral("Zavrieť \"Pomoc - Nápovedu\" ?!!");

constexpr int ClientWidth = 682;
constexpr int ClientHeight = 449;
const QColor MoneyGreen(0xC0, 0xDC, 0xC0);

QVBoxLayout* tightColumn(QWidget* owner, int margin, int spacing)
{
    auto* layout = new QVBoxLayout(owner);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(spacing);
    return layout;
}

QGroupBox* group(const char* name, const QString& caption)
{
    auto* box = new QGroupBox(caption);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

} // namespace

TPomocNapoveda::TPomocNapoveda(dorvan::Project& project, dorvan::UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent)
    , project_(project)
    , dialogs_(dialogs)
    , child_(*new dorvan::ChildWindow(*this, dialogs, CloseQuestion))
{
    setObjectName(QStringLiteral("PomocNapoveda"));
    setWindowTitle(QStringLiteral("Pomoc a nápoveda"));
    setAttribute(Qt::WA_DeleteOnClose);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, MoneyGreen);
    setPalette(pal);
    setAutoFillBackground(true);

    auto* pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("PageControl1"));
    // In the captions of the first and third page the second word stands in double quotes.
    pages->addTab(buildMenuPage(), QStringLiteral("Hlavné \"MENU\""));
    pages->addTab(buildInputPage(), QStringLiteral("Vstupné dáta"));
    pages->addTab(buildSolutionPage(), QStringLiteral("Riešenie \"DORVAN\""));
    auto* programPage = new QWidget;
    programPage->setObjectName(QStringLiteral("TabSheet4"));
    pages->addTab(programPage, QStringLiteral("Program"));
    for (const HelpTextPage& page : helpTextPages())
        pages->addTab(buildTextPage(page), page.caption);

    // The pages show the window's colour too, not the style's lighter page colour.
    for (int i = 0; i < pages->count(); ++i)
        pages->widget(i)->setAutoFillBackground(true);
    tightColumn(this, 0, 0)->addWidget(pages);
    resize(ClientWidth, ClientHeight);

    // The pictures come with the program; one that cannot be shown is a damaged installation.
    if (!pictureError_.isEmpty())
        dialogs_.warn(this, pictureError_);
}

QSize TPomocNapoveda::sizeHint() const
{
    return { ClientWidth, ClientHeight };
}

QStringList TPomocNapoveda::toolbarHelpLines()
{
    QStringList lines = {
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
    // The first six lines are padded with blanks to the width of the longest of them.
    qsizetype width = 0;
    for (int i = 0; i < 6; ++i)
        width = std::max(width, lines[i].size());
    for (int i = 0; i < 6; ++i)
        lines[i] = lines[i].leftJustified(width, QLatin1Char(' '));
    return lines;
}

QLabel* TPomocNapoveda::picture(const char* name, const QString& resource)
{
    auto* label = new QLabel;
    label->setObjectName(QString::fromLatin1(name));
    QString error;
    const QImage image = loadJpegPicture(resource, &error);
    if (image.isNull()) {
        if (pictureError_.isEmpty())
            pictureError_ = error;
        return label;
    }
    label->setPixmap(QPixmap::fromImage(image));
    label->setFixedSize(image.size());
    return label;
}

QWidget* TPomocNapoveda::buildMenuPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet1"));
    QGroupBox* box = group("GroupBox1", QStringLiteral(" Hlavné \"MENU\""));
    tightColumn(page, 4, 0)->addWidget(box);

    auto* column = tightColumn(box, 6, 6);
    column->addWidget(picture("Image1", QStringLiteral(":/help/toolbar.jpg")));

    auto* row = new QHBoxLayout;
    row->setSpacing(10);
    auto* left = new QVBoxLayout;
    left->setSpacing(4);
    left->addWidget(picture("Image2", QStringLiteral(":/help/window_menu.jpg")));
    auto* closeAll = new QLabel(closeWindowHelpText());
    closeAll->setObjectName(QStringLiteral("StaticText1"));
    left->addWidget(closeAll);
    left->addStretch();
    row->addLayout(left);

    auto* text = new QTextEdit;
    text->setObjectName(QStringLiteral("RichEdit1"));
    text->setReadOnly(true);
    text->setLineWrapMode(QTextEdit::NoWrap);
    text->setPlainText(toolbarHelpLines().join(QLatin1Char('\n')));
    // As high as its twelve lines, so no empty box hangs below them.
    text->setFixedHeight(static_cast<int>(text->document()->size().height()) + 2 * text->frameWidth() + 2);
    row->addWidget(text, 1, Qt::AlignTop);
    column->addLayout(row, 1);
    return page;
}

QWidget* TPomocNapoveda::buildInputPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet2"));
    QGroupBox* outer = group("GroupBox2", QStringLiteral(" Zadávanie vstupných dát "));
    tightColumn(page, 4, 0)->addWidget(outer);
    QGroupBox* inner = group("GroupBox3", QStringLiteral(" Nový súbor "));
    auto* outerColumn = tightColumn(outer, 6, 0);
    outerColumn->addWidget(inner);
    outerColumn->addStretch();
    auto* innerColumn = tightColumn(inner, 6, 0);
    innerColumn->addWidget(picture("Image3", QStringLiteral(":/help/data_entry.jpg")));
    return page;
}

QWidget* TPomocNapoveda::buildSolutionPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet3"));
    QGroupBox* box = group("GroupBox4", QStringLiteral(" Zobrazenie riešenia "));
    tightColumn(page, 4, 0)->addWidget(box);
    auto* column = tightColumn(box, 4, 3);
    column->addWidget(picture("Image4", QStringLiteral(":/help/result_settings.jpg")));
    column->addWidget(picture("Image5", QStringLiteral(":/help/result_lists.jpg")));
    column->addWidget(picture("Image6", QStringLiteral(":/help/result_chart.jpg")));
    column->addWidget(picture("Image7", QStringLiteral(":/help/result_map.jpg")));
    column->addStretch();
    return page;
}

// A page of text in the style of the others: a group box with its caption and, in it, the
// read-only text.
QWidget* TPomocNapoveda::buildTextPage(const HelpTextPage& p)
{
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(p.sheet));
    QGroupBox* box = group(p.group, p.groupCaption);
    tightColumn(page, 4, 0)->addWidget(box);
    auto* text = new QTextEdit;
    text->setObjectName(QString::fromLatin1(p.text));
    text->setReadOnly(true);
    text->setLineWrapMode(QTextEdit::NoWrap);
    text->setPlainText(p.body);
    tightColumn(box, 6, 0)->addWidget(text);
    return page;
}

void TPomocNapoveda::closeEvent(QCloseEvent* event)
{
    Pomoc_Napoveda_Close(event);
}

void TPomocNapoveda::Pomoc_Napoveda_Close(QCloseEvent* event)
{
    child_.handleClose(event, [this] { return child_.mayClose(); });
    if (!event->isAccepted())
        return;
    // A close sent to this widget alone takes its MDI frame along, so no empty frame stays
    // behind. When the frame started the close, this call returns at once (its close is
    // already under way) and the frame is destroyed with us.
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->close();
}
