#include "app/scanfilespanel.h"

ScanFilesPanel::ScanFilesPanel(ws::UserDialogs &dialogs, QWidget *parent)
    : WindowPanel(parent), dialogs_(dialogs)
{
    for (Target target : {Target::NewestScan, Target::ReferenceScan, Target::Map})
        connect(row(target).button, &QPushButton::clicked, this,
                [this, target] { emit loadClicked(target); });
    row(Target::Map).button->setEnabled(false);
}

FileOpenDialog *ScanFilesPanel::createDialog(const char *name)
{
    const ws::window::FileDialogElement &row = ws::window::fileDialog(name);
    auto *dialog = new FileOpenDialog(dialogs_, QString::fromLatin1(row.title),
                                      QString::fromLatin1(row.fileName), this);
    dialog->setObjectName(QLatin1String(name));
    return dialog;
}

std::optional<QString> ScanFilesPanel::askForFile(Target target)
{
    FileOpenDialog &dialog = *row(target).dialog;
    if (!dialog.showOpen())
        return std::nullopt;
    return dialog.fileName();
}

void ScanFilesPanel::offerNext(Target target, const QString &path)
{
    row(target).dialog->setFileName(path);
}

QString ScanFilesPanel::description(Target target) const
{
    return row(target).label->text();
}

void ScanFilesPanel::describe(Target target, const QString &text)
{
    row(target).label->setText(text);
}

void ScanFilesPanel::enableMapLoad()
{
    row(Target::Map).button->setEnabled(true);
}

bool ScanFilesPanel::mapLoadEnabled() const
{
    return row(Target::Map).button->isEnabled();
}

std::optional<ScanFilesPanel::Target> ScanFilesPanel::targetOf(const QWidget *element) const
{
    for (Target target : {Target::NewestScan, Target::ReferenceScan, Target::Map}) {
        if (element && (element == row(target).button || element == row(target).label))
            return target;
    }
    return std::nullopt;
}
