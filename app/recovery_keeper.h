#pragma once
// Keeps the recovery copy of the sheet while it has unsaved changes: written within two seconds
// of a change (the sheet is turned into bytes on this thread, the files are written on another),
// removed once nothing is unsaved, and offered back at the next start when a run ended without
// closing.

#include "app/recovery_store.h"
#include "core/sheet_record_cache.h"

#include <QObject>
#include <QTimer>

#include <atomic>
#include <thread>

namespace lavodc {

class DocumentController;
class Prompts;

class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    // `tempFolder` is the data folder's Temp/.
    RecoveryKeeper(DocumentController& controller, Prompts& prompts, QString tempFolder,
                   QObject* parent = nullptr);
    // Waits for a write in flight and leaves the copy where it is: only discard() removes it.
    ~RecoveryKeeper() override;

    // "저장하지 않은 작업이 있습니다. 복구하시겠습니까?" with what Yes brings back: the sheet's
    // file by its name ("이름없음" while untitled) and when the copy was written.
    static QString question(const QString& fileName, const QString& time);
    static constexpr int kDelayMs = 2000;

    // Once, after the window has shown its first sheet: when the last run left a copy, asks
    // whether to restore it (Yes opens it, No deletes it), then follows the document controller.
    // Does nothing at all when another running copy holds the folder.
    void start();

    const RecoveryStore& store() const { return store_; }
    bool pending() const { return timer_.isActive(); }
    // Returns when no write is in flight.
    void waitForWrite();

public slots:
    // The sheet changed (also where the modified flag does not follow, as typing in the header):
    // a copy within kDelayMs, however often this comes meanwhile.
    void noteChange();
    // Nothing is unsaved any more: no copy.
    void discard();

private:
    void writeCopy();
    void followController();

    DocumentController& controller_;
    Prompts& prompts_;
    RecoveryStore store_;
    SheetRecordCache records_;
    QTimer timer_;
    std::thread writer_;
    std::atomic<bool> writing_{false};
    std::string outgoing_;   // the bytes the writer thread has; kept for their memory
    bool watching_ = false;
    bool changed_ = false;   // a change was noted since the last discard
};

} // namespace lavodc
