#include "base/ProcessFormats.h"

#include "base/TextRules.h"

#include <QRegularExpression>

namespace ProcessFormats {

namespace {
std::optional<QLocale>& fixedLocale() {
    static std::optional<QLocale> locale;
    return locale;
}

struct Settings {
    QString shortDate;
    QChar decimal;
};

// The settings in force: the system's own until they are first put in force.
Settings& settings() {
    static Settings s{systemLocale().dateFormat(QLocale::ShortFormat), systemLocale().decimalPoint().at(0)};
    return s;
}

// The program's settings, once worked out.
std::optional<Settings>& programSettings() {
    static std::optional<Settings> s;
    return s;
}

// A separator must be a mark of its own: a blank, a letter or no separator at all would write dates
// such as "03 12 2026", which no one searches for as "/12/"; those give "/".
QChar dateSeparatorOf(const QLocale& locale) {
    // The separator is what follows the first field of the format ("dd.MM.yy", "d MMM yyyy"); a
    // separator written in quotes counts by its first character.
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    qsizetype i = 0;
    while (i < format.size() && format[i].isLetter())
        ++i;
    if (i < format.size() && format[i] == u'\'')
        ++i;
    if (i == format.size())
        return u'/';
    const QChar separator = format[i];
    if ((separator.isPunct() || separator.isSymbol()) && separator != u'\'')
        return separator;
    return u'/';
}

} // namespace

QLocale systemLocale() {
    return fixedLocale() ? *fixedLocale() : QLocale::system();
}

void setSystemLocale(std::optional<QLocale> locale) {
    fixedLocale() = std::move(locale);
    programSettings().reset();
}

QChar systemDateSeparator() {
    return dateSeparatorOf(systemLocale());
}

void startUp() {
    programSettings().reset();
    apply();
}

void apply() {
    if (!programSettings()) {
        const QChar sep = systemDateSeparator();
        programSettings() =
            Settings{QStringLiteral("dd") + sep + QStringLiteral("MM") + sep + QStringLiteral("yyyy"), u','};
    }
    settings() = *programSettings(); // shares the text, copies nothing
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

QDate dateFromText(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^([0-9]{1,2})([^0-9])([0-9]{1,2})\\2([0-9]{4})$"));
    const QRegularExpressionMatch parts = form.match(TextRules::trim(text));
    if (!parts.hasMatch())
        return {};
    return QDate(parts.captured(4).toInt(), parts.captured(3).toInt(), parts.captured(1).toInt());
}

} // namespace ProcessFormats
