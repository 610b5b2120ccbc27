#pragma once
#include "report/laid_out_report.h"
#include "report/memory_data_source.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <ostream>

#include "qt_test_print.h"

namespace livros::report::testing {

// A file of tests/report/data and of rpt/ in the source tree.
QString testDataFile(const QString& name);
QString rptFile(const QString& name);

// The text of each page of a PDF file, as `pdftotext -layout` reads it.
QStringList pdfPages(const QString& pdfFile);

// How many times `needle` occurs in `text`.
int countOccurrences(const QString& text, const QString& needle);

// Writes `text` (UTF-8) to a file of the folder and returns its path.
QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& text);

} // namespace livros::report::testing
