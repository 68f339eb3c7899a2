#pragma once

#include "app/fileopendialog.h"
#include "app/windowelements.h"
#include "app/windowpanel.h"
#include "scan/scans.h"

#include <QLabel>
#include <QPushButton>

#include <optional>

// The files the window compares: for each of the two scans and the map a
// load button, the label that tells what is loaded, and the dialog that
// asks for the file.
class ScanFilesPanel : public WindowPanel
{
    Q_OBJECT

public:
    enum class Target { NewestScan, ReferenceScan, Map };
    Q_ENUM(Target)
    static Target targetFor(ws::ScanSlot slot)
    {
        return slot == ws::ScanSlot::Newest ? Target::NewestScan : Target::ReferenceScan;
    }

    explicit ScanFilesPanel(ws::UserDialogs &dialogs, QWidget *parent = nullptr);

    // Asks for the target's file in its dialog; nothing when the user cancelled.
    std::optional<QString> askForFile(Target target);
    // A file that came another way (the command line, a drop, a reload) is
    // offered next time as if it had been chosen in the dialog.
    void offerNext(Target target, const QString &path);
    // The target's label: the loaded file, or a hint what to load.
    QString description(Target target) const;
    void describe(Target target, const QString &text);
    // A map is drawn on the plots' scale, which the scans set: "Load Map
    // ..." can be clicked only once they are drawn.
    void enableMapLoad();
    bool mapLoadEnabled() const;
    // The target whose button or label `element` is, if any.
    std::optional<Target> targetOf(const QWidget *element) const;

signals:
    void loadClicked(ScanFilesPanel::Target target);

private:
    struct Row
    {
        QPushButton *button;
        QLabel *label;
        FileOpenDialog *dialog;
    };
    const Row &row(Target target) const { return rows_[int(target)]; }
    FileOpenDialog *createDialog(const char *name);

    ws::UserDialogs &dialogs_;
    const Row rows_[3] = {
        {create<QPushButton>(ws::window::names::loadNewestButton),
         create<QLabel>(ws::window::names::newestLabel),
         createDialog(ws::window::names::newestDialog)},
        {create<QPushButton>(ws::window::names::loadReferenceButton),
         create<QLabel>(ws::window::names::referenceLabel),
         createDialog(ws::window::names::referenceDialog)},
        {create<QPushButton>(ws::window::names::loadMapButton),
         create<QLabel>(ws::window::names::mapLabel),
         createDialog(ws::window::names::mapDialog)},
    };
};
