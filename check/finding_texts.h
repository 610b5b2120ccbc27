#pragma once
#include "check/data_check.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <vector>

namespace livros::check {

// What the check's reports (plain text and printed) say of its findings and of the database.

// Every kind of finding in the reports' order, most harmful first.
const std::vector<FindingKind>& findingKinds();
// The kind's heading and what to do about it in the suite.
QString findingTitle(FindingKind kind);
QString findingAdvice(FindingKind kind);
// How many findings of the kind the report holds.
int findingCount(const CheckReport& report, FindingKind kind);

// The variance's heading ("... inventário de <the day after the period>"), and the line on the
// products without an inventory that day.
QString varianceTitle(const CheckReport& report);
QString productsWithoutCountText(const CheckReport& report);

// The optional indexes' part, without its heading: the missing ones, what a year of books costs
// without them and the command that creates them.
QStringList indexReadinessLines(const IndexReadiness& readiness, const QLocale& locale);

} // namespace livros::check
