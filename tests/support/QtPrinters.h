#pragma once

// How GoogleTest shows Qt's strings in a failure: as the text itself, quoted, instead of a list of
// 2-byte objects. Every test file sees these (the test targets include this header first), because
// GoogleTest finds a printer by argument-dependent lookup where it prints.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <ostream>

void PrintTo(const QString& text, std::ostream* out);
void PrintTo(const QByteArray& bytes, std::ostream* out);
void PrintTo(const QStringList& texts, std::ostream* out);
