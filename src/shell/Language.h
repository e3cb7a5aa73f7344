#pragma once

#include "Result.h"

#include <QString>

#include <functional>
#include <optional>

namespace zal {

// The program speaks German, as it always has, or English. German is the language its texts are
// written in; English comes from a translation built into the program.
enum class Language { German, English };

// The language the environment asks for: LANGUAGE (its first entry), else LC_ALL, LC_MESSAGES, LANG.
// German where that language is German, English otherwise (also where nothing is set).
Language LanguageFromEnvironment(const std::function<QString(const char*)>& variable);
Language LanguageFromEnvironment();

// The language the user chose (Hilfe, "Sprache"), kept in the user's settings; none until chosen.
std::optional<Language> ChosenLanguage();
Result<> StoreChosenLanguage(Language language);

// The user's choice, else the environment's.
Language ProgramLanguage();

// Makes the program's texts (the string table, the value lists, the messages) speak that language.
// Needs the application object; false when the translation cannot be loaded (the texts stay German).
// German needs it too, for the plural forms of texts that count something.
bool InstallLanguage(Language language);
Language CurrentLanguage();

// "de" or "en".
QString LanguageCode(Language language);

// A drop-down's item, spelt as the settings file or the string table holds it, in the current language.
QString ValueListText(const QString& text);
// Whether a text given in either language (a recipe written under the other) names the item or text
// shown in the current one.
bool SameValueListText(const QString& shown, const QString& given);

} // namespace zal
