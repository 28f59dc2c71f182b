#include "ui/common/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace dorvan {

namespace {

// Qt's own catalogues, with one bridge: the standard buttons of message boxes ("&Yes", "&No",
// "Cancel", ...) ask under the context "QPlatformTheme", while the Slovak catalogue of Qt 6.4
// still holds them under "QDialogButtonBox". A text the first context lacks is taken from the
// second, so the buttons read "Áno" and "Nie" like the rest of the program.
class QtCatalogues : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(
        const char* context, const char* sourceText, const char* disambiguation, int n) const override
    {
        QString text = QTranslator::translate(context, sourceText, disambiguation, n);
        if (text.isEmpty() && context != nullptr && qstrcmp(context, "QPlatformTheme") == 0)
            text = QTranslator::translate("QDialogButtonBox", sourceText, disambiguation, n);
        return text;
    }
};

} // namespace

QTranslator* installQtTranslations(QCoreApplication& app)
{
    // "qt_sk" loads the catalogues of every Qt module that has a Slovak one (qtbase among them).
    auto* translator = new QtCatalogues(&app);
    const bool loaded = translator->load(QLocale(QLocale::Slovak, QLocale::Slovakia), QStringLiteral("qt"),
        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (!loaded || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

} // namespace dorvan
