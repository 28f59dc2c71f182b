#pragma once

#include "ui/common/UserDialogs.h"

#include <QPrinter>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <stdexcept>

namespace dorvan::test {

// The test double of the dialogs seam: records every text shown and answers from queues.
// A question with no queued answer fails loudly instead of guessing.
class ScriptedDialogs : public UserDialogs {
public:
    struct Shown {
        QString kind;   // "warn", "confirm", "error", "save", "open", "picture", "printer", "url"
        QString text;
        bool defaultYes = false;
    };

    std::vector<Shown> shown;
    std::deque<bool> confirmAnswers;
    std::deque<QString> fileAnswers;
    std::deque<bool> printerAnswers;
    // Called when a printer dialog is accepted, to point the printer somewhere (a PDF file).
    std::function<void(QPrinter&)> preparePrinter;

    void warn(QWidget*, const QString& text) override { shown.push_back({"warn", text}); }
    bool confirm(QWidget*, const QString& text, bool defaultYes = false) override
    {
        shown.push_back({"confirm", text, defaultYes});
        if (confirmAnswers.empty())
            throw std::logic_error("unexpected question: " + text.toStdString());
        bool a = confirmAnswers.front();
        confirmAnswers.pop_front();
        return a;
    }
    // Answers of the questions that also offer "Uložiť ..." (kind "confirmSave").
    std::deque<Answer> saveAnswers;
    Answer confirmOrSave(QWidget*, const QString& text) override
    {
        shown.push_back({"confirmSave", text});
        if (saveAnswers.empty())
            throw std::logic_error("unexpected question with Uložiť: " + text.toStdString());
        Answer a = saveAnswers.front();
        saveAnswers.pop_front();
        return a;
    }
    void error(QWidget*, const QString& text) override { shown.push_back({"error", text}); }
    QString saveFileName(QWidget*, const QString& title, const QString& proposed, const QString& filter) override
    {
        shown.push_back({"save", title + "|" + proposed + "|" + filter});
        return nextFile();
    }
    QString openFileName(QWidget*, const QString& title, const QString& filter) override
    {
        shown.push_back({"open", title + "|" + filter});
        return nextFile();
    }
    QString openPictureName(QWidget*, const QString& title, const QString& filter) override
    {
        shown.push_back({"picture", title + "|" + filter});
        return nextFile();
    }
    // Answers of the text questions (kind "text"); nothing is a cancel.
    std::deque<std::optional<QString>> textAnswers;
    std::optional<QString> askText(QWidget*, const QString& prompt) override
    {
        shown.push_back({"text", prompt});
        if (textAnswers.empty())
            throw std::logic_error("unexpected text question: " + prompt.toStdString());
        std::optional<QString> a = textAnswers.front();
        textAnswers.pop_front();
        return a;
    }
    bool printerSetup(QWidget*, QPrinter& printer) override
    {
        shown.push_back({"printer", QString()});
        if (printerAnswers.empty())
            throw std::logic_error("unexpected printer dialog");
        bool a = printerAnswers.front();
        printerAnswers.pop_front();
        if (a && preparePrinter)
            preparePrinter(printer);
        return a;
    }
    // Answers of the desktop's "open" action; when empty the address opens.
    std::deque<bool> urlAnswers;
    bool openUrl(const QString& url) override
    {
        shown.push_back({"url", url});
        if (urlAnswers.empty())
            return true;
        bool a = urlAnswers.front();
        urlAnswers.pop_front();
        return a;
    }

    // Texts of one kind, in order.
    QStringList texts(const QString& kind) const
    {
        QStringList out;
        for (const auto& s : shown)
            if (s.kind == kind)
                out << s.text;
        return out;
    }
    QStringList messages() const
    {
        QStringList out;
        for (const auto& s : shown)
            if (s.kind == "warn" || s.kind == "confirm" || s.kind == "confirmSave" || s.kind == "error")
                out << s.text;
        return out;
    }

private:
    QString nextFile()
    {
        if (fileAnswers.empty())
            throw std::logic_error("unexpected file dialog");
        QString f = fileAnswers.front();
        fileAnswers.pop_front();
        return f;
    }
};

} // namespace dorvan::test
