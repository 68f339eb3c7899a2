#include "app/keyswindow.h"
#include "app/namedwidget.h"

#include "app/icon.h"
#include "cli/commandline.h"
#include "core/filenames.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

namespace names = ws::keyswindow::names;

namespace {

using ws::named;

// Where the user guide is: where the install put it, or in the checkout
// the program was built from.
QString userGuide()
{
    if (ws::isInstalledFolder(QCoreApplication::applicationDirPath(),
                              QStringLiteral(WAVESIFT_INSTALL_BINDIR)))
        return QStringLiteral(WAVESIFT_GUIDE_INSTALLED);
    return QStringLiteral(WAVESIFT_GUIDE_SOURCE);
}

QLabel *wrappedText(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

KeysWindow::KeysWindow(ws::KeyWindow keys, QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QLatin1String(names::window));
    setWindowTitle(keys == ws::KeyWindow::Main ? QStringLiteral("Wavesift keys")
                                               : QStringLiteral("Wavesift history keys"));
    setWindowIcon(ws::appIcon());

    list_ = named(new QTableWidget(0, 2, this), names::list);
    list_->setHorizontalHeaderLabels(
        {QStringLiteral("Key or mouse"), QStringLiteral("What it does")});
    const auto addRow = [this](const char *what, const char *words) {
        const int row = list_->rowCount();
        list_->insertRow(row);
        auto *keys = new QTableWidgetItem(QLatin1String(what));
        auto *meaning = new QTableWidgetItem(QLatin1String(words));
        QFont bold = keys->font();
        bold.setBold(true);
        keys->setFont(bold);
        // The key beside the first line of what it does.
        for (QTableWidgetItem *item : {keys, meaning})
            item->setTextAlignment(Qt::AlignLeft | Qt::AlignTop);
        list_->setItem(row, 0, keys);
        list_->setItem(row, 1, meaning);
    };
    for (const ws::WindowKey &key : ws::windowKeys()) {
        if (key.window == keys)
            addRow(key.keys, key.words);
    }
    for (const ws::WindowMouse &mouse : ws::windowMouse()) {
        if (mouse.window == keys)
            addRow(mouse.what, mouse.words);
    }
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setWordWrap(true);
    list_->setTextElideMode(Qt::ElideNone);
    list_->setAlternatingRowColors(true);
    list_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    list_->verticalHeader()->hide();
    // Each row as high as its words wrap at the width there is.
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    list_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    QLabel *guide = named(wrappedText(QStringLiteral("More in the user guide, %1, and in man "
                                                     "wavesift.")
                                          .arg(userGuide()),
                                      this),
                          names::guide);
    about_ = named(wrappedText(QString(), this), names::about);
    about_->setVisible(false);
    auto *aboutButton =
        named(new QPushButton(QStringLiteral("About Wavesift"), this), names::aboutButton);
    auto *close = named(new QPushButton(QStringLiteral("Close"), this), names::close);
    // Read, not worked in: the list shows no cell picked until one is.
    close->setDefault(true);
    close->setFocus();
    connect(aboutButton, &QPushButton::clicked, this, &KeysWindow::showAbout);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(aboutButton);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto *all = new QVBoxLayout(this);
    all->addWidget(list_, 1);
    all->addWidget(guide);
    all->addWidget(about_);
    all->addLayout(buttons);

    QSize size(680, 560);
    if (const QScreen *shown = parent ? parent->screen() : screen())
        size = size.boundedTo(shown->availableSize());
    resize(size);
}

KeysWindow &KeysWindow::showFor(QWidget *owner, ws::KeyWindow keys)
{
    auto *window = owner->findChild<KeysWindow *>(QLatin1String(names::window),
                                                  Qt::FindDirectChildrenOnly);
    if (!window)
        window = new KeysWindow(keys, owner);
    window->show();
    window->raise();
    window->activateWindow();
    return *window;
}

void KeysWindow::showAbout()
{
    about_->setText(ws::cli::versionText().trimmed() +
                    QStringLiteral("\nFree software under the GNU General Public License, "
                                   "version 3 or later (GPL-3.0-or-later): you may share and "
                                   "change it under its terms. It comes with no warranty. See "
                                   "https://www.gnu.org/licenses/."));
    about_->setVisible(true);
}
