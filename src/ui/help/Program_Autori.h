#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace dorvan {
class UserDialogs;
} // namespace dorvan

// The About box: created hidden at start, shown modally by "&Program".
class TProgramAutori : public QDialog {
    Q_OBJECT
public:
    explicit TProgramAutori(dorvan::UserDialogs& dialogs, QWidget* parent = nullptr);

    // The web page and the mail link the box opens.
    static QString webPageUrl();
    static QString mailUrl();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Label4Click();
    void Image1Click();
    void MailLabel1Click();
    void Label4MouseEnter();
    void Label4MouseLeave();
    void MailLabel1MouseEnter();
    void MailLabel1MouseLeave();
    void Image1MouseEnter();
    void Image1MouseLeave();

    QLabel* textLabel(const char* name, const QString& text, bool bold, int x, int y);
    QLabel* linkLabel(const char* name, const QString& text, int x, int y);
    void openLink(const QString& url, const QString& failure);

    dorvan::UserDialogs& dialogs_;
    QLabel* Label4 = nullptr;
    QLabel* MailLabel1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QPushButton* OK1Button = nullptr;
};
