// Build-time helper: writes the program's options, from the same table that
// --help and the parser read, into the manual page and the bash completion,
// at the template's line that holds "%OPTIONS%", and the manual's forms of
// use, which --help's usage shows too, at the line that holds "%SYNOPSIS%".
// The windows' keys, from the table the windows make their shortcuts from,
// and their mouse actions beside them go to the manual's line that holds
// "%KEYS%", or as a Markdown list to a file of their own for the user guide.
//   wavesift_optiondocs manual|completion <template> <output>
//   wavesift_optiondocs keys <output>
#include "app/windowkeys.h"
#include "cli/options.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>

#include <cstdio>
#include <utility>

namespace {

using ws::cli::Option;
using ws::cli::OptionGroup;
using ws::cli::ValueHint;

// Plain text as roff shows it: every hyphen a hyphen, not a break point,
// options in bold and the option's value name in italics.
QString roffText(const QString &text, const char *valueName = nullptr)
{
    QString out = text;
    out.replace(QLatin1Char('\\'), QLatin1String("\\e"));
    static const QRegularExpression option(QStringLiteral("(^|[\\s(])(--?[a-z][a-z-]*)"));
    out.replace(option, QStringLiteral("\\1\\fB\\2\\fR"));
    if (valueName && QChar::fromLatin1(*valueName).isUpper()) {
        const QString word = QString::fromLatin1(valueName).section(QLatin1Char('['), 0, 0);
        const QRegularExpression whole(
            QStringLiteral("\\b%1\\b").arg(QRegularExpression::escape(word)));
        out.replace(whole, QStringLiteral("\\fI%1\\fR").arg(word));
    }
    out.replace(QLatin1Char('-'), QLatin1String("\\-"));
    // A sentence to a line, as roff wants it to set the space after a full
    // stop; no line may start as a request does.
    static const QRegularExpression sentenceEnd(QStringLiteral("\\. (?=[A-Z\\\\])"));
    QStringList lines = out.split(sentenceEnd);
    for (QString &line : lines) {
        if (line.startsWith(QLatin1Char('.')) || line.startsWith(QLatin1Char('\'')))
            line.prepend(QLatin1String("\\&"));
    }
    return lines.join(QStringLiteral(".\n"));
}

QString roffName(const QString &name)
{
    return QString(name).replace(QLatin1Char('-'), QLatin1String("\\-"));
}

// ".TP", the option as its first line, then what it does.
QString manualItem(const Option &option)
{
    const QString name = roffName(option.longName());
    const QString shortName =
        option.shortName ? QStringLiteral("\\-") + QLatin1String(option.shortName) : QString();
    QString head;
    if (option.valueName)
        head = QStringLiteral(".BI \"%1\" \" %2\"")
                   .arg(shortName.isEmpty() ? name : shortName + QStringLiteral(", ") + name,
                        roffName(QLatin1String(option.valueName)));
    else if (option.shortName)
        head = QStringLiteral(".BR %1 \", \" %2").arg(shortName, name);
    else
        head = QStringLiteral(".B ") + name;
    QString text = QLatin1String(option.description);
    text[0] = text[0].toUpper();
    if (option.defaultValue)
        text += QStringLiteral(" (default %1)").arg(QLatin1String(option.defaultValue));
    text += QLatin1Char('.');
    if (option.more)
        text += QLatin1Char(' ') + QLatin1String(option.more);
    return QStringLiteral(".TP\n") + head + QLatin1Char('\n') +
           roffText(text, option.valueName) + QLatin1Char('\n');
}

QString manualSections()
{
    QString text;
    for (const ws::cli::GroupText &group : ws::cli::documentedGroups()) {
        text += QStringLiteral(".SH ") + QLatin1String(group.manualSection) + QLatin1Char('\n');
        if (group.manualIntro)
            text += roffText(QLatin1String(group.manualIntro)) + QLatin1Char('\n');
        for (const Option &option : ws::cli::options()) {
            if (option.group == group.group)
                text += manualItem(option);
        }
    }
    return text;
}

// A placeholder in italics, its brackets and bars upright.
QString roffPlaceholder(const QString &text)
{
    QString out = roffName(text);
    out.replace(QLatin1Char('['), QLatin1String("\\fR[\\fI"));
    out.replace(QLatin1Char(']'), QLatin1String("\\fR]\\fI"));
    out.replace(QLatin1Char('|'), QLatin1String("\\fR|\\fI"));
    return QStringLiteral("\\fI") + out + QStringLiteral("\\fR");
}

// Every form of use, from the same table as --help's usage lines.
QString manualSynopsis()
{
    QStringList forms;
    for (const ws::cli::UsageForm &form : ws::cli::usageForms()) {
        QStringList words;
        for (const ws::cli::UsageWord &word : form) {
            QString text;
            if (!word.option.isEmpty())
                text = QStringLiteral("\\fB") + roffName(word.option) + QStringLiteral("\\fR");
            if (!word.value.isEmpty())
                text += (text.isEmpty() ? QString() : QStringLiteral("\\ ")) +
                        roffPlaceholder(word.value);
            words << (word.optional ? QLatin1Char('[') + text + QLatin1Char(']') : text);
        }
        forms << QStringLiteral(".B wavesift\n") + words.join(QLatin1Char(' ')) + QLatin1Char('\n');
    }
    // Set flush left and unbroken, an option kept with its value.
    return QStringLiteral(".nh\n.ad l\n") + forms.join(QStringLiteral(".br\n")) +
           QStringLiteral(".ad\n.hy\n");
}

// The keys of one window and then its mouse, the main window first.
const char *const kKeyWindowIntro[] = {"The keys of the main window, whatever has the focus:",
                                       "The keys of the history window:",
                                       "The keys of the dish view:"};
const char *const kMouseWindowIntro[] = {"With the mouse, in the main window:",
                                         "With the mouse, in the history window:",
                                         "With the mouse, in the dish view:"};

// Each of `window`'s keys and then each of its mouse actions, as
// `intro(text)` and `item(keys, words)` write them.
template <class Intro, class Item>
QString keysList(Intro intro, Item item)
{
    QString text;
    for (const ws::KeyWindow window :
         {ws::KeyWindow::Main, ws::KeyWindow::History, ws::KeyWindow::Dish}) {
        text += intro(QLatin1String(kKeyWindowIntro[int(window)]));
        for (const ws::WindowKey &key : ws::windowKeys()) {
            if (key.window == window)
                text += item(QLatin1String(key.keys), QLatin1String(key.words));
        }
        QString mice;
        for (const ws::WindowMouse &mouse : ws::windowMouse()) {
            if (mouse.window == window)
                mice += item(QLatin1String(mouse.what), QLatin1String(mouse.words));
        }
        if (!mice.isEmpty())
            text += intro(QLatin1String(kMouseWindowIntro[int(window)])) + mice;
    }
    return text;
}

QString manualKeys()
{
    return keysList(
        [](const QString &intro) { return QStringLiteral(".PP\n") + intro + QLatin1Char('\n'); },
        [](const QString &keys, const QString &words) {
            return QStringLiteral(".TP\n.B ") + keys + QLatin1Char('\n') + roffText(words) +
                   QLatin1Char('\n');
        });
}

QString markdownKeys()
{
    return QStringLiteral("<!-- Written from the windows' table of keys when the program "
                          "is built; edit src/app/windowkeys.cpp, not this. -->\n") +
           keysList(
               [](const QString &intro) {
                   return QLatin1Char('\n') + intro + QStringLiteral("\n\n");
               },
               [](const QString &keys, const QString &words) {
                   return QStringLiteral("- **%1**: %2\n").arg(keys, words);
               });
}

bool writeText(const QString &path, const QString &text)
{
    QSaveFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(text.toUtf8()) >= 0 && out.commit();
}

// A word as bash reads it back unchanged.
QString shellWord(const QString &word)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9._/=+-]+$"));
    if (plain.match(word).hasMatch())
        return word;
    return QLatin1Char('\'') + QString(word).replace(QLatin1Char('\''), QLatin1String("'\\''")) +
           QLatin1Char('\'');
}

// How a user types the option: Qt's own with one dash, as Qt's programs
// document them.
QString typedName(const Option &option)
{
    return option.group == OptionGroup::Toolkit ? QLatin1Char('-') + QLatin1String(option.name)
                                                : option.longName();
}

// What completes the value that follows `option`, beginning with "$2".
QString valueCompletion(const Option &option)
{
    const QString words = QLatin1String(option.hintWords);
    switch (option.hint) {
    case ValueHint::Nothing:
        return QStringLiteral(":");
    case ValueHint::File:
        return QStringLiteral("_wavesift_files \"$2\"") +
               (option.hintWords ? QLatin1Char(' ') + shellWord(words) : QString());
    case ValueHint::Port:
        return QStringLiteral("_wavesift_port_names \"$2\"");
    case ValueHint::Words: {
        QStringList quoted;
        for (const QString &word : words.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            quoted << shellWord(word);
        return QStringLiteral("_wavesift_words \"$2\" ") + quoted.join(QLatin1Char(' '));
    }
    }
    return QStringLiteral(":");
}

// For each option that asks for a mode: the options of that mode, and what
// files it takes ("none", "scans" or "any").
QString modeCompletion()
{
    QString options;
    QString files;
    for (const Option &asking : ws::cli::options()) {
        if (asking.selects == ws::cli::Mode::Window)
            continue;
        QStringList names;
        for (const Option &option : ws::cli::options()) {
            if (option.group != OptionGroup::Toolkit && &option != &asking &&
                (option.modes & ws::cli::modeBit(asking.selects)))
                names << option.longName();
        }
        options += QStringLiteral("    %1) _wavesift_words \"$2\" %2 ;;\n")
                       .arg(asking.longName(), names.join(QLatin1Char(' ')));
        const ws::cli::ModeFiles kind = ws::cli::filesOf(asking.selects);
        files += QStringLiteral("    %1) REPLY=%2 ;;\n")
                     .arg(asking.longName(), kind == ws::cli::ModeFiles::None    ? "none"
                                             : kind == ws::cli::ModeFiles::Scans ? "scans"
                                                                                 : "any");
    }
    return QStringLiteral(
               "# Adds the options of the mode that option $1 asks for, beginning with $2,\n"
               "# to COMPREPLY; fails when $1 asks for no mode.\n"
               "_wavesift_mode_options()\n"
               "{\n"
               "    case $1 in\n"
               "%1"
               "    *) return 1 ;;\n"
               "    esac\n"
               "}\n"
               "\n"
               "# What files the mode that option $1 asks for takes, into REPLY: none,\n"
               "# scans (and folders of them) or any; fails when $1 asks for no mode.\n"
               "_wavesift_mode_files()\n"
               "{\n"
               "    case $1 in\n"
               "%2"
               "    *) return 1 ;;\n"
               "    esac\n"
               "}\n")
        .arg(options, files);
}

QString completionFunctions()
{
    QStringList documented;
    QStringList valued;
    QString values;
    for (const Option &option : ws::cli::options()) {
        if (option.group != OptionGroup::Toolkit)
            documented << option.longName();
        if (!option.valueName)
            continue;
        valued << typedName(option);
        if (option.group != OptionGroup::Toolkit)
            values += QStringLiteral("    %1) %2 ;;\n")
                          .arg(option.longName(), valueCompletion(option));
    }
    return QStringLiteral(
               "# The options, from the program's table of options when it was built.\n"
               "# Adds those that begin with $1 to COMPREPLY.\n"
               "_wavesift_options()\n"
               "{\n"
               "    _wavesift_words \"$1\" %1\n"
               "}\n"
               "\n"
               "# Whether option $1 takes the next word as its value.\n"
               "_wavesift_takes_value()\n"
               "{\n"
               "    case $1 in\n"
               "    %2) return 0 ;;\n"
               "    esac\n"
               "    return 1\n"
               "}\n"
               "\n"
               "# Adds what the value of option $1 may be, beginning with $2, to COMPREPLY;\n"
               "# fails when $1 takes no value that the completion knows.\n"
               "_wavesift_value()\n"
               "{\n"
               "    case $1 in\n"
               "%3"
               "    *) return 1 ;;\n"
               "    esac\n"
               "    return 0\n"
               "}\n"
               "\n")
               .arg(documented.join(QLatin1Char(' ')), valued.join(QStringLiteral(" | ")), values) +
           modeCompletion();
}

int fail(const char *what, const QString &path)
{
    std::fprintf(stderr, "wavesift_optiondocs: %s %s\n", what, qPrintable(path));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && QLatin1String(argv[1]) == QLatin1String("keys")) {
        const QString outputPath = QString::fromLocal8Bit(argv[2]);
        return writeText(outputPath, markdownKeys()) ? 0 : fail("cannot write", outputPath);
    }
    const QString kind = argc == 4 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (kind != QLatin1String("manual") && kind != QLatin1String("completion")) {
        std::fprintf(stderr,
                     "usage: %s manual|completion <template> <output>\n"
                     "       %s keys <output>\n",
                     argv[0], argv[0]);
        return 2;
    }
    const QString templatePath = QString::fromLocal8Bit(argv[2]);
    const QString outputPath = QString::fromLocal8Bit(argv[3]);
    QFile in(templatePath);
    if (!in.open(QIODevice::ReadOnly))
        return fail("cannot read", templatePath);
    QStringList lines = QString::fromUtf8(in.readAll()).split(QLatin1Char('\n'));
    // Each marker's line is replaced by what it names.
    const bool manual = kind == QLatin1String("manual");
    const std::pair<const char *, QString> parts[] = {
        {"%OPTIONS%", manual ? manualSections() : completionFunctions()},
        {"%SYNOPSIS%", manual ? manualSynopsis() : QString()},
        {"%KEYS%", manual ? manualKeys() : QString()},
    };
    for (const auto &[marker, generated] : parts) {
        if (generated.isEmpty())
            continue;
        const QList<QString> marked = lines.filter(QLatin1String(marker));
        if (marked.size() != 1)
            return fail(qPrintable(QStringLiteral("needs one line with %1 in").arg(QLatin1String(marker))),
                        templatePath);
        lines[lines.indexOf(marked.constFirst())] = generated.chopped(1);
    }

    if (!writeText(outputPath, lines.join(QLatin1Char('\n'))))
        return fail("cannot write", outputPath);
    return 0;
}
