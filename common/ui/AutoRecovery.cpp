#include "AutoRecovery.h"

#include "Dialogs.h"
#include "Errors.h"
#include "Termination.h"
#include "UndoHistory.h"

#include <QDateTime>
#include <QLocale>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>
#include <QUndoStack>
#include <QWidget>

#include <algorithm>
#include <span>

namespace {

constexpr const char* IntervalKey = "recovery/interval";

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

int AutoRecovery::IntervalMs()
{
    bool number = false;
    const int seconds = QSettings().value(IntervalKey, DefaultInterval).toInt(&number);
    // Clamped before it becomes milliseconds: a setting of years would overflow them.
    return std::clamp(number ? seconds : DefaultInterval, ShortestInterval, LongestInterval) * 1000;
}

AutoRecovery::AutoRecovery(QWidget* window, const QString& program, UndoHistory& history, Bytes bytes,
                           QString extension)
    : QObject(window)
    , window_(window)
    , history_(history)
    , bytes_(std::move(bytes))
    , extension_(std::move(extension))
    , store_(pathOf(Folder()), program.toStdString(),
             {[this](const std::filesystem::path& lock) {
                  auto file = std::make_unique<QLockFile>(textOf(lock));
                  // Only a live holder counts, however old its lock: a copy may wait for days.
                  file->setStaleLockTime(0);
                  if (!file->tryLock(0))
                      return false;
                  locks_[lock.string()] = std::move(file);
                  return true;
              },
              [this](const std::filesystem::path& lock) { locks_.erase(lock.string()); }})
    , timer_(new QTimer(this))
{
    timer_->setInterval(IntervalMs());
    connect(timer_, &QTimer::timeout, this, &AutoRecovery::SaveCopy);
    connect(history_.Stack(), &QUndoStack::cleanChanged, this, [this](bool clean) {
        if (!clean)
            return timer_->start();
        timer_->stop();
        Forget();
    });
    // Ended by a logout or Ctrl+C: the work since the last copy is kept too. No message can be
    // shown then; a copy that cannot be written is told on standard error.
    BeforeTermination(this, [this] {
        const QString error = writeCopy();
        if (!error.isEmpty())
            std::fprintf(stderr, "%s\n", qPrintable(error));
    });
}

AutoRecovery::~AutoRecovery() = default;

void AutoRecovery::SetDetails(std::function<Details()> details, std::function<void(const Details&)> restore)
{
    details_ = std::move(details);
    restoreDetails_ = std::move(restore);
}

QString AutoRecovery::writeCopy()
{
    if (!history_.Unsaved())
        return {};
    try {
        const QByteArray bytes = bytes_();
        std::map<std::string, std::string> details;
        if (details_)
            for (const auto& [key, value] : details_().asKeyValueRange())
                details[key.toStdString()] = value.toStdString();
        store_.Write(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())),
                     pathOf(history_.File()), extension_.toStdString(), details);
    } catch (const std::exception& error) {
        return QString::fromStdString(error.what());
    }
    return {};
}

void AutoRecovery::showOnce(const QString& error)
{
    // Told once: the copy is a safety net the user did not ask for, not worth a box at every copy.
    if (!failureShown_)
        ShowError(window_, error);
    failureShown_ = true;
}

void AutoRecovery::SaveCopy()
{
    const QString error = writeCopy();
    if (!error.isEmpty())
        showOnce(error);
}

void AutoRecovery::Forget() { store_.Remove(); }

void AutoRecovery::OfferPending(const Open& open)
{
    const DocumentTexts& texts = history_.Texts();
    const auto setAside = [&](const PendingRecovery& recovery, const QString& reason) {
        QString aside = textOf(recovery.description);
        try {
            aside = textOf(store_.SetAside(recovery));
        } catch (const OrmelError&) {
            // Still shown: the message names the file, the user may move it.
        }
        ShowError(window_, texts.damagedRecovery.arg(reason, aside));
    };
    std::vector<PendingRecovery> pending;
    try {
        pending = store_.Pending();
    } catch (const OrmelError& error) {
        return showOnce(QString::fromStdString(error.what()));
    }
    for (auto recovery = pending.begin(); recovery != pending.end(); ++recovery) {
        if (!recovery->damage.empty()) {
            setAside(*recovery, QString::fromStdString(recovery->damage));
            continue;
        }
        const QString original = QString::fromStdString(recovery->about.original);
        const QString name = original.isEmpty() ? texts.untitled : original;
        const RecoveryChoice choice =
            AskRecoverDiscard(window_, texts.caption, texts.recoverQuestion.arg(name, localTime(recovery->about.saved)),
                              {texts.recover, texts.discard, {}});
        if (choice == RecoveryChoice::Later) {
            store_.Leave(*recovery);
            continue;
        }
        if (choice == RecoveryChoice::Discard) {
            store_.Delete(*recovery);
            continue;
        }
        try {
            open(textOf(recovery->copy), original);
        } catch (const std::exception& error) {
            setAside(*recovery, QString::fromStdString(error.what()));
            continue;
        }
        if (restoreDetails_) {
            Details details;
            for (const auto& [key, value] : recovery->about.details)
                details[QString::fromStdString(key)] = QString::fromStdString(value);
            restoreDetails_(details);
        }
        history_.MarkUnsaved();
        SaveCopy(); // this run keeps the work safe from now on
        store_.Delete(*recovery);
        // The rest stay for a later start, free for another copy of the program to offer.
        for (++recovery; recovery != pending.end(); ++recovery)
            store_.Leave(*recovery);
        return;
    }
}
