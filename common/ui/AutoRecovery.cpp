#include "AutoRecovery.h"

#include "Dialogs.h"
#include "Errors.h"
#include "UndoHistory.h"

#include <QDateTime>
#include <QLocale>
#include <QStandardPaths>
#include <QTimer>
#include <QUndoStack>
#include <QWidget>

#include <span>

namespace {

std::filesystem::path pathOf(const QString& text) { return std::filesystem::path(text.toStdString()); }
QString textOf(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

// The time a copy was written, as the user reads times.
QString localTime(const std::string& utc)
{
    const QDateTime time = QDateTime::fromString(QString::fromStdString(utc), Qt::ISODate);
    return time.isValid() ? QLocale().toString(time.toLocalTime(), QLocale::ShortFormat) : QString::fromStdString(utc);
}

} // namespace

QString AutoRecovery::Folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/recovery");
}

AutoRecovery::AutoRecovery(QWidget* window, const QString& program, UndoHistory& history, Bytes bytes,
                           QString extension)
    : QObject(window)
    , window_(window)
    , history_(history)
    , bytes_(std::move(bytes))
    , extension_(std::move(extension))
    , store_(pathOf(Folder()), program.toStdString())
    , timer_(new QTimer(this))
{
    timer_->setInterval(Interval);
    connect(timer_, &QTimer::timeout, this, &AutoRecovery::SaveCopy);
    connect(history_.Stack(), &QUndoStack::cleanChanged, this, [this](bool clean) {
        if (!clean)
            return timer_->start();
        timer_->stop();
        Forget();
    });
}

void AutoRecovery::SaveCopy()
{
    if (!history_.Unsaved())
        return;
    try {
        const QByteArray bytes = bytes_();
        store_.Write(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())),
                     pathOf(history_.File()), extension_.toStdString());
    } catch (const std::exception& error) {
        // Told once: the copy is a safety net the user did not ask for, not worth a box every
        // two minutes.
        if (!failureShown_)
            ShowError(window_, QString::fromStdString(error.what()));
        failureShown_ = true;
    }
}

void AutoRecovery::Forget() { store_.Remove(); }

void AutoRecovery::OfferPending(const Open& open)
{
    const DocumentTexts& texts = history_.Texts();
    const auto setAside = [&](const PendingRecovery& recovery, const QString& reason) {
        QString aside = textOf(recovery.description);
        try {
            aside = textOf(RecoveryStore::SetAside(recovery));
        } catch (const OrmelError&) {
            // Still shown: the message names the file, the user may move it.
        }
        ShowError(window_, texts.damagedRecovery.arg(reason, aside));
    };
    for (const PendingRecovery& recovery : store_.Pending()) {
        if (!recovery.damage.empty()) {
            setAside(recovery, QString::fromStdString(recovery.damage));
            continue;
        }
        const QString original = QString::fromStdString(recovery.about.original);
        const QString name = original.isEmpty() ? texts.untitled : original;
        const RecoveryChoice choice =
            AskRecoverDiscard(window_, texts.caption, texts.recoverQuestion.arg(name, localTime(recovery.about.saved)),
                              {texts.recover, texts.discard, {}});
        if (choice == RecoveryChoice::Later)
            continue;
        if (choice == RecoveryChoice::Discard) {
            RecoveryStore::Delete(recovery);
            continue;
        }
        try {
            open(textOf(recovery.copy), original);
        } catch (const std::exception& error) {
            setAside(recovery, QString::fromStdString(error.what()));
            continue;
        }
        history_.MarkUnsaved();
        SaveCopy(); // this run keeps the work safe from now on
        RecoveryStore::Delete(recovery);
        return;
    }
}
