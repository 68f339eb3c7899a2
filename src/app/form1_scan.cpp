#include "form1.h"

#include "numbers.h"
#include "scanfile.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

void Form1::Command5_Click(int Index)
{
    // Only the two load buttons exist; there is no slot label for anything else.
    if (Index != 1 && Index != 2)
        return;
    LoadScan(std::int16_t(Index));
}

void Form1::LoadScan(std::int16_t slot)
{
    const QString cancelled = QStringLiteral("Cancel/Abbruch");
    FileOpenDialog *dialog = CommonDialog[slot == 1 ? 1 : 2];
    if (!dialog->showOpen()) {
        platform_.dialogs->message(cancelled);
        return;
    }

    QLabel *label = Scanlabel[slot];
    const QString previousText = label->text();
    label->setText(QStringLiteral("Loading, please wait"));
    repaintWindow();

    // A load either completes or changes nothing: the file is read whole
    // into a scan of its own, and only a complete scan replaces the slot.
    // Otherwise a half-read file would stay behind under the slot's loaded
    // marker and be drawn by the next load of the other slot.
    const QString path = dialog->fileName();
    const auto fail = [&](const QString &text) {
        label->setText(previousText);
        platform_.dialogs->message(text);
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(cancelled);
        return;
    }
    const QFileInfo info(file);
    // Mapping reads only the pages the reader touches, which matters when
    // somebody picks a large file that is not a scan at all.
    QByteArray bytes;
    if (const qint64 size = file.size(); size > 0) {
        if (uchar *mapped = file.map(0, size))
            bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), size);
    }
    if (bytes.isNull())
        bytes = file.readAll();
    const ws::ScanParse parse = ws::parseScan(bytes);
    const QDateTime lastModified = info.lastModified();
    const qint64 size = info.size();
    bytes.clear();
    file.close();

    if (!parse.data) {
        fail(parse.error.message());
        return;
    }
    ws::commitScan(s, slot, *parse.data);
    label->setText(ws::scanSummary(path, lastModified, size, *parse.data));
    setTag(Command5[slot], QStringLiteral("1"));
    const int other = slot == 1 ? 2 : 1;
    if (ws::readNumber(tag(Command5[other])) == 1)
        DrawScans();
}
