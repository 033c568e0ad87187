#include "PdfCheck.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

struct Run {
    bool ran = false;
    int status = -1;
    QString output;
};

Run run(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(tool, arguments);
    Run result;
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.ran = true;
    result.status = process.exitCode();
    result.output = QString::fromUtf8(process.readAll());
    return result;
}

} // namespace

QString pdfProblems(const QString& path) {
    QStringList problems;
    // qpdf: 0 when sound, 3 with warnings (a damaged part it could work around), 2 with errors.
    const Run check = run(u"qpdf"_s, {u"--check"_s, path});
    if (!check.ran)
        problems << u"qpdf (package qpdf) could not be run on %1"_s.arg(path);
    else if (check.status != 0 || !check.output.contains(u"No syntax or stream encoding errors found"_s))
        problems << u"qpdf --check %1 gave %2:\n%3"_s.arg(path).arg(check.status).arg(check.output);
    const Run info = run(u"pdfinfo"_s, {path});
    if (!info.ran || info.status != 0) {
        problems << u"pdfinfo cannot read %1:\n%2"_s.arg(path, info.output);
    } else {
        for (const QString& field : {u"Producer"_s, u"Creator"_s}) {
            if (!info.output.contains(QRegularExpression(u"^%1:\\s+Lumivera$"_s.arg(field),
                                                         QRegularExpression::MultilineOption)))
                problems << u"pdfinfo %1: %2 is not Lumivera:\n%3"_s.arg(path, field, info.output);
        }
    }
    if (info.output.contains(u"Syntax Error"_s) || info.output.contains(u"Syntax Warning"_s))
        problems << u"pdfinfo %1 complains:\n%2"_s.arg(path, info.output);
    return problems.join(u'\n');
}
