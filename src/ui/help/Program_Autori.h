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
    void onWebLinkClicked();
    void onGlobeClicked();
    void onMailLinkClicked();
    void onWebLinkEntered();
    void onWebLinkLeft();
    void onMailLinkEntered();
    void onMailLinkLeft();
    void onGlobeEntered();
    void onGlobeLeft();

    QLabel* textLabel(const char* name, const QString& text, bool bold, int x, int y);
    QLabel* linkLabel(const char* name, const QString& text, int x, int y);
    void openLink(const QString& url, const QString& failure);

    dorvan::UserDialogs& dialogs_;
    // The controls, with their object names.
    QLabel* webLink = nullptr; // Label4, the web page
    QLabel* mailLink = nullptr; // MailLabel1, the e-mail address
    QLabel* globePicture = nullptr; // Image1, top right, opens the web page
    QLabel* emblemPicture = nullptr; // Image2
    QPushButton* okButton = nullptr; // OK1Button, "OK"
};
