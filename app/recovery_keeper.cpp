#include "app/recovery_keeper.h"

#include "app/document_controller.h"
#include "core/sheet_file.h"
#include "services/prompts.h"

#include <QDateTime>
#include <QFileInfo>

#include <exception>

namespace lavodc {

RecoveryKeeper::RecoveryKeeper(DocumentController& controller, Prompts& prompts, QString tempFolder,
                               QObject* parent)
    : QObject(parent), controller_(controller), prompts_(prompts), store_(std::move(tempFolder)),
      records_(controller.sheet().table)
{
    timer_.setSingleShot(true);
    timer_.setInterval(kDelayMs);
    connect(&timer_, &QTimer::timeout, this, &RecoveryKeeper::writeCopy);
}

RecoveryKeeper::~RecoveryKeeper()
{
    if (watching_)
        controller_.SetStateListener({});
    waitForWrite();
}

namespace {
const QString& timeFormat()
{
    static const QString format = QStringLiteral("yyyy.MM.dd hh:mm:ss");
    return format;
}
} // namespace

QString RecoveryKeeper::question(const QString& fileName, const QString& time)
{
    const QString name = fileName == DocumentController::untitledName() ? QStringLiteral("이름없음")
                                                                         : QFileInfo(fileName).fileName();
    return QStringLiteral("저장하지 않은 작업이 있습니다. 복구하시겠습니까?\n\n파일: %1\n자동 저장 시각: %2").arg(name, time);
}

void RecoveryKeeper::start()
{
    if (watching_ || !store_.claim())
        return;
    // As a command: a sheet the desktop names meanwhile waits for the answer, and then finds the
    // restored sheet to ask about.
    controller_.RunAsCommand([this] {
        if (!store_.hasCopy())
            return false;
        const std::optional<RecoveryStore::Companion> companion = store_.readCompanion();
        const QString fileName = companion ? companion->fileName : DocumentController::untitledName();
        // A copy without its companion still tells its time by the file's.
        const QString time = companion && !companion->time.isEmpty()
                                 ? companion->time
                                 : QFileInfo(store_.copyPath()).lastModified().toString(timeFormat());
        if (prompts_.ConfirmBox(question(fileName, time))) {
            const std::optional<SheetHeader> header = companion ? companion->header : std::nullopt;
            if (!controller_.RestoreRecoveredSheet(store_.copyPath(), fileName, header))
                store_.remove();   // unreadable: the error was shown, the copy is of no use
        } else {
            store_.remove();
        }
        return true;
    });
    watching_ = true;
    controller_.SetStateListener([this] { followController(); });
}

void RecoveryKeeper::followController()
{
    if (controller_.SheetModified())
        noteChange();
    else
        discard();
}

void RecoveryKeeper::noteChange()
{
    if (!store_.claimed())
        return;
    changed_ = true;
    // Not restarted by later changes: typing on and on still gets a copy every two seconds.
    if (!timer_.isActive())
        timer_.start();
}

void RecoveryKeeper::discard()
{
    changed_ = false;
    timer_.stop();
    waitForWrite();
    store_.remove();
}

void RecoveryKeeper::waitForWrite()
{
    if (writer_.joinable())
        writer_.join();
}

void RecoveryKeeper::writeCopy()
{
    if (!changed_ && !controller_.SheetModified())
        return;
    if (writing_) {
        timer_.start(kDelayMs / 10);   // the last copy is still being written: come back soon
        return;
    }
    // The sheet becomes bytes here, between two events, mostly copied from records kept encoded
    // as the table changed; only the file work goes elsewhere.
    waitForWrite();
    const SheetHeader header = controller_.HeaderInView();
    try {
        records_.SheetBytes(header, outgoing_);
    } catch (const std::exception&) {
        return;   // a table that is not open, an amount too large: the next change tries again
    }
    RecoveryStore::Companion companion;
    companion.fileName = controller_.SheetFileName();
    companion.time = QDateTime::currentDateTime().toString(timeFormat());
    companion.header = header;
    writing_ = true;
    writer_ = std::thread([this, companion = RecoveryStore::companionBytes(companion)] {
        try {
            store_.write(outgoing_, companion);
        } catch (const std::exception&) {
            // A copy that could not be written is no reason to trouble the user while working;
            // the next change writes it again.
        }
        writing_ = false;
    });
}

} // namespace lavodc
