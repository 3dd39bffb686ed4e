#include "util/window/FileProgressDialog.h"

#include "platform/qt/FilePath.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <utility>

namespace {

FileProgressHook& InstalledHook()
{
    static FileProgressHook hook;
    return hook;
}

} // namespace

FileProgressDialog::FileProgressDialog(const QString& title, QWidget* parent)
    : QDialog(parent)
    , item_(new QLabel(this)) // the controls and layouts are owned by the dialog
    , bar_(new QProgressBar(this))
    , cancel_(new QPushButton(QStringLiteral("Cancel"), this))
{
    setWindowTitle(title);
    setWindowModality(Qt::ApplicationModal);
    item_->setMinimumWidth(360);
    item_->setTextFormat(Qt::PlainText);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(item_);
    layout->addWidget(bar_);
    layout->addLayout(buttons);
    connect(cancel_, &QPushButton::clicked, this, [this] { cancelled_ = true; });
}

void FileProgressDialog::Start(std::size_t steps)
{
    bar_->setRange(0, static_cast<int>(std::min<std::size_t>(steps, INT_MAX)));
    bar_->setValue(0);
    show();
    QCoreApplication::processEvents();
}

void FileProgressDialog::ShowItem(const std::string& path)
{
    const QString name = fw::FromFilePath(path);
    item_->setText(fontMetrics().elidedText(name, Qt::ElideMiddle, item_->width()));
    bar_->setValue(std::min(done_++, bar_->maximum()));
}

bool FileProgressDialog::KeepGoing()
{
    QCoreApplication::processEvents();
    return !cancelled_;
}

ScopedFileProgressHook::ScopedFileProgressHook(FileProgressHook hook)
    : previous_(std::exchange(InstalledHook(), std::move(hook)))
{
}

ScopedFileProgressHook::~ScopedFileProgressHook()
{
    InstalledHook() = std::move(previous_);
}

const FileProgressHook& CurrentFileProgressHook()
{
    return InstalledHook();
}
