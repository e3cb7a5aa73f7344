#include "Completion.h"

#include "CommandTable.h"
#include "Session.h"
#include "config/Products.h"

#include <QStringList>

namespace zal::cli {
namespace {

// How the shell completes an argument the usage names: a bash command that fills COMPREPLY.
QString Completer(const QString& command, QString argument) {
    argument.remove(u'[').remove(u']').remove(QLatin1String("..."));
    QStringList products;
    QStringList classic;
    for (const ProductInfo& p : Products()) {
        products << QString::fromLatin1(p.model.get()).remove(u' ');
        if (p.family == ProductFamily::Classic)
            classic << QString::fromLatin1(p.model.get());
    }
    const auto words = [](const QStringList& list) {
        return QStringLiteral("COMPREPLY=($(compgen -W \"%1\" -- \"$cur\"))").arg(list.join(u' '));
    };
    // A backup by its name in the list (the last cell of each row) or as a file.
    if (argument == QLatin1String("FILE") && command.startsWith(QLatin1String("backups")))
        return QStringLiteral("COMPREPLY=($(compgen -W \"$(zalctl backups list 2>/dev/null | "
                              "awk '{print $NF}')\" -- \"$cur\")); _filedir bin");
    if (argument == QLatin1String("FILE") || argument == QLatin1String("A") || argument == QLatin1String("B"))
        return QStringLiteral("_filedir \"$files\"");
    if (argument == QLatin1String("RECIPE.json"))
        return QStringLiteral("_filedir json");
    if (argument == QLatin1String("PRODUCT"))
        return words(products);
    if (argument == QLatin1String("MODEL"))
        return words(classic);
    if (argument == QLatin1String("VERSION"))
        return words(
            {QStringLiteral("V1.x"), QStringLiteral("V20"), QStringLiteral("V21"), QStringLiteral("V22")});
    if (argument == QLatin1String("POSITION"))
        return words({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
                      QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8")});
    if (argument == QLatin1String("NAME=VALUE"))
        return QStringLiteral(
            "compopt -o nospace; COMPREPLY=($(compgen -W \"$(_zalctl_fields | sed 's/$/=/')\" "
            "-- \"$cur\"))");
    return QStringLiteral(":"); // a serial number, a code: nothing to offer
}

QString OptionWords(const Command& c) {
    const bool chosen = c.kbx == KbxUse::One || c.kbx == KbxUse::Several;
    QStringList words;
    for (const OptionSpelling& s : OptionSpellings()) {
        if ((c.options & s.option) || (chosen && (s.option == kOptKbx || s.option == kOptPort)))
            words << QString::fromLatin1(s.usage).section(u' ', 0, 0);
    }
    words << QStringLiteral("--help");
    return words.join(u' ');
}

// The words the completion offers: the commands' first words, the configuration files' extensions,
// the options that take a file and those that take another value, and the products.
struct CompletionWords {
    QStringList first, extensions, valued, files, products;
};

CompletionWords MakeCompletionWords() {
    CompletionWords w;
    for (const Command& c : Commands()) {
        const QString word = QString::fromLatin1(c.name).section(u' ', 0, 0);
        if (!w.first.contains(word))
            w.first << word;
    }
    for (const ProductInfo& p : Products()) {
        const QString e = QString::fromLatin1(p.extension.get()).mid(1);
        w.extensions << e << e.toLower();
    }
    w.extensions << QStringLiteral("bin"); // a backup opens as a configuration does
    for (const OptionSpelling& s : OptionSpellings()) {
        const QString usage = QString::fromLatin1(s.usage);
        if (!usage.contains(u' '))
            continue;
        const QString name = usage.section(u' ', 0, 0);
        if (s.option == kOptOutput || s.option == kOptLog || s.option == kOptPort)
            w.files << name;
        else if (s.option != kOptProduct && s.option != kOptFormat && s.option != kOptCsv)
            w.valued << name;
    }
    for (const ProductInfo& p : Products())
        w.products << QString::fromLatin1(p.model.get()).remove(u' ');

    return w;
}

// Each command's arguments by their place, then the subcommands of a word that is no command itself.
void PrintArgumentCases(QTextStream& out, const QStringList& first) {
    for (const Command& c : Commands()) {
        const QString n = QString::fromLatin1(c.name);
        // A command with subcommands offers them first.
        QStringList subcommands;
        for (const Command& sub : Commands()) {
            const QString s = QString::fromLatin1(sub.name);
            if (s.startsWith(n + u' '))
                subcommands << s.section(u' ', 1);
        }
        const QStringList arguments = QString::fromLatin1(c.arguments).split(u' ', Qt::SkipEmptyParts);
        if (arguments.isEmpty() && subcommands.isEmpty())
            continue;
        out << "        \"" << n << "\")\n            case $argument in\n";
        if (!subcommands.isEmpty())
            out << "                0) COMPREPLY=($(compgen -W \"" << subcommands.join(u' ')
                << "\" -- \"$cur\")) ;;\n";
        for (qsizetype i = 0; i < arguments.size(); ++i) {
            const bool last = i + 1 == arguments.size();
            const bool repeats = last && arguments[i].endsWith(QLatin1String("..."));
            out << "                " << (repeats ? QStringLiteral("*") : QString::number(i)) << ") "
                << Completer(n, arguments[i]) << " ;;\n";
        }
        out << "            esac\n            ;;\n";
    }
    // A word that is no command of its own ("backups") offers its subcommands.
    for (const QString& word : first) {
        if (FindCommand({word}) && QLatin1String(FindCommand({word})->name) == word)
            continue;
        QStringList subcommands;
        for (const Command& c : Commands()) {
            const QString n = QString::fromLatin1(c.name);
            if (n.startsWith(word + u' '))
                subcommands << n.section(u' ', 1);
        }
        out << "        \"" << word << "\") [ \"$argument\" -eq 0 ] && COMPREPLY=($(compgen -W \""
            << subcommands.join(u' ') << "\" -- \"$cur\")) ;;\n";
    }
}

} // namespace

void PrintBashCompletion(QTextStream& out) {
    const CompletionWords w = MakeCompletionWords();
    const QStringList &first = w.first, &extensions = w.extensions, &valued = w.valued, &files = w.files,
                      &products = w.products;

    out << "# bash completion for zalctl, the ZAL family programmer on the command line.\n"
           "# Made by zalctl --completion bash from its command table.\n\n"
           "_zalctl_fields() {\n"
           "    # The field names of the editor, from its form alone: nothing is created or written.\n"
           "    zalctl --field-names 2>/dev/null\n"
           "}\n\n"
           "_zalctl() {\n"
           "    local cur prev name argument\n"
           "    cur=${COMP_WORDS[COMP_CWORD]}\n"
           "    prev=${COMP_WORDS[COMP_CWORD-1]}\n"
           "    local files='@("
        << extensions.join(u'|') << ")'\n\n"
        << "    if [ \"$COMP_CWORD\" -eq 1 ]; then\n"
           "        COMPREPLY=($(compgen -W \""
        << first.join(u' ') << " help --help --version\" -- \"$cur\"))\n"
        << "        return\n"
           "    fi\n"
           "    if [ \"$COMP_CWORD\" -eq 2 ] && [ \"${COMP_WORDS[1]}\" = help ]; then\n"
           "        COMPREPLY=($(compgen -W \""
        << first.join(u' ') << "\" -- \"$cur\"))\n"
        << "        return\n"
           "    fi\n"
           "    case $prev in\n"
           "        "
        << files.join(QStringLiteral(" | ")) << ")\n"
        << "            _filedir\n            return\n            ;;\n"
           "        --product)\n"
           "            COMPREPLY=($(compgen -W \""
        << products.join(u' ') << "\" -- \"$cur\"))\n"
        << "            return\n            ;;\n"
           "        --csv)\n"
           "            _filedir -d\n"
           "            return\n            ;;\n"
           "        --format)\n"
           "            COMPREPLY=($(compgen -W \"pdf html csv json\" -- \"$cur\"))\n"
           "            return\n            ;;\n"
           "        "
        << valued.join(QStringLiteral(" | ")) << ")\n"
        << "            return\n            ;;\n"
           "    esac\n\n"
           "    # The command (with its subcommand), and which of its arguments is being typed.\n"
           "    name=${COMP_WORDS[1]}\n"
           "    local words=() i\n"
           "    for ((i = 2; i < COMP_CWORD; i++)); do\n"
           "        case ${COMP_WORDS[i]} in\n"
           "            -*) ;;\n"
           "            *) case ${COMP_WORDS[i-1]} in "
        << (files + valued +
            QStringList{QStringLiteral("--product"), QStringLiteral("--format"), QStringLiteral("--csv")})
               .join(QStringLiteral(" | "))
        << ") ;; *) words+=(\"${COMP_WORDS[i]}\") ;; esac ;;\n"
           "        esac\n"
           "    done\n"
           "    case \"$name ${words[0]}\" in\n";
    for (const Command& c : Commands()) {
        const QString n = QString::fromLatin1(c.name);
        if (n.contains(u' '))
            out << "        \"" << n << "\"*) name=\"" << n << "\"; words=(\"${words[@]:1}\") ;;\n";
    }
    out << "    esac\n\n"
           "    if [[ $cur == -* ]]; then\n"
           "        case $name in\n";
    for (const Command& c : Commands())
        out << "            \"" << c.name << "\") COMPREPLY=($(compgen -W \"" << OptionWords(c)
            << "\" -- \"$cur\")) ;;\n";
    out << "        esac\n"
           "        return\n"
           "    fi\n\n"
           "    argument=${#words[@]}\n"
           "    case $name in\n";
    PrintArgumentCases(out, first);
    out << "    esac\n"
           "}\n\n"
           "complete -F _zalctl zalctl\n";
}

} // namespace zal::cli
