#include "ProcessFormats.h"

#include <QLocale>

namespace ProcessFormats {

namespace {
struct Settings {
    QString shortDate;
    QChar decimal;
};

Settings& settings() {
    static Settings s{QLocale::system().dateFormat(QLocale::ShortFormat),
                      QLocale::system().decimalPoint().at(0)};
    return s;
}
} // namespace

QChar systemDateSeparator() {
    // The first character of the system's short date format that is neither a field letter nor a
    // quote is its separator.
    const QString format = QLocale::system().dateFormat(QLocale::ShortFormat);
    for (QChar c : format) {
        if (!c.isLetter() && c != u'\'')
            return c;
    }
    return u'/';
}

void apply() {
    const QChar sep = systemDateSeparator();
    settings().shortDate = QStringLiteral("dd") + sep + QStringLiteral("MM") + sep + QStringLiteral("yyyy");
    settings().decimal = u',';
}

QString shortDateFormat() {
    return settings().shortDate;
}

QChar decimalSeparator() {
    return settings().decimal;
}

QString dateText(QDate date) {
    return QLocale::c().toString(date, settings().shortDate);
}

} // namespace ProcessFormats
