// A PDF file the program wrote, read by tools that know the format: qpdf checks its structure and
// streams, pdfinfo that a reader opens it and that the program signs it as producer and creator.
#pragma once

#include <QString>

// What is wrong with the file, one finding a line; empty when nothing is.
QString pdfProblems(const QString& path);

// Fails the test with the findings when the file is not a sound PDF file of the program.
#define QVERIFY_SOUND_PDF(path)                                                                              \
    do {                                                                                                     \
        const QString pdfFindings = pdfProblems(path);                                                       \
        QVERIFY2(pdfFindings.isEmpty(), qPrintable(pdfFindings));                                            \
    } while (false)
