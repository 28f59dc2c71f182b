#include "ui/common/UserDialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QUrl>

namespace dorvan {

namespace {
QString boxTitle()
{
    return QApplication::applicationDisplayName().isEmpty() ? QStringLiteral("DORVAN")
                                                            : QApplication::applicationDisplayName();
}
} // namespace

void QtUserDialogs::warn(QWidget* parent, const QString& text)
{
    QMessageBox::warning(parent, boxTitle(), text, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtUserDialogs::confirm(QWidget* parent, const QString& text, bool defaultYes)
{
    return QMessageBox::warning(parent, boxTitle(), text, QMessageBox::Yes | QMessageBox::No,
                                defaultYes ? QMessageBox::Yes : QMessageBox::No)
        == QMessageBox::Yes;
}

UserDialogs::Answer QtUserDialogs::confirmOrSave(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, boxTitle(), text, QMessageBox::Yes | QMessageBox::No, parent);
    QPushButton* save = box.addButton(QStringLiteral("Uložiť ..."), QMessageBox::ActionRole);
    box.setDefaultButton(QMessageBox::No);
    box.exec();
    if (box.clickedButton() == save)
        return Answer::Save;
    return box.clickedButton() == box.button(QMessageBox::Yes) ? Answer::Yes : Answer::No;
}

void QtUserDialogs::error(QWidget* parent, const QString& text)
{
    QMessageBox::critical(parent, boxTitle(), text, QMessageBox::Ok, QMessageBox::Ok);
}

QString QtUserDialogs::saveFileName(QWidget* parent, const QString& title, const QString& proposed,
                                    const QString& filter)
{
    // The caller appends the extension and replaces an existing file as the program always
    // did; a question here would be asked about the name before ".mzd" is added. The filters
    // show their captions only.
    return QFileDialog::getSaveFileName(parent, title, proposed, filter, nullptr,
        QFileDialog::DontConfirmOverwrite | QFileDialog::HideNameFilterDetails);
}

QString QtUserDialogs::openFileName(QWidget* parent, const QString& title, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, title, QString(), filter, nullptr,
        QFileDialog::HideNameFilterDetails);
}

QString QtUserDialogs::openPictureName(QWidget* parent, const QString& title, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

std::optional<QString> QtUserDialogs::askText(QWidget* parent, const QString& prompt)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent, QString(), prompt, QLineEdit::Normal, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

bool QtUserDialogs::printerSetup(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtUserDialogs::openUrl(const QString& url)
{
    return QDesktopServices::openUrl(QUrl(url));
}

bool confirmKeepingWork(UserDialogs& dialogs, QWidget* parent, const QString& text, bool unsaved,
                        const std::function<bool()>& save)
{
    if (!unsaved)
        return dialogs.confirm(parent, text, false);
    switch (dialogs.confirmOrSave(parent, text)) {
    case UserDialogs::Answer::Yes:
        return true;
    case UserDialogs::Answer::Save:
        return save();
    case UserDialogs::Answer::No:
        break;
    }
    return false;
}

} // namespace dorvan
