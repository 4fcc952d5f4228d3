#include "app/document_controller.h"

#include "app/working_copy.h"
#include "core/cp949.h"
#include "core/sheet_file.h"
#include "services/settings.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include <exception>
#include <optional>

namespace lavodc {

namespace {

QString waitMessage() { return QStringLiteral("파일을 읽고 있습니다. 잠시만..."); }
QString labelText(const QString& name) { return QStringLiteral("파일명: ") + name; }

// The file system takes paths in the platform's own encoding.
std::string nativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// Core errors carry platform texts and paths (UTF-8 here) or sheet texts (CP949).
QString errorText(const std::exception& error)
{
    const QByteArray bytes(error.what());
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromStdString(fromCp949(bytes.toStdString()));
}

// The wait window stays up exactly as long as the file work, failures included.
class WaitWindow {
public:
    WaitWindow(DocumentView& view, bool cancellable) : view_(view) { view_.showWait(waitMessage(), cancellable); }
    ~WaitWindow() { view_.hideWait(); }
    WaitWindow(const WaitWindow&) = delete;
    WaitWindow& operator=(const WaitWindow&) = delete;

private:
    DocumentView& view_;
};

// 취소 pressed while a file is read: the read stops and the sheet stays as it was.
struct ReadCancelled {};

} // namespace

DocumentController::DocumentController(Sheet& sheet, DocumentView& view, Prompts& prompts,
                                       QString programFolder)
    : sheet_(sheet), view_(view), prompts_(prompts), programFolder_(std::move(programFolder)),
      fileName_(untitledName()), shownName_(untitledName())
{
}

QString DocumentController::untitledName() { return QStringLiteral("이름없음.Lvo"); }
QString DocumentController::changedFileQuestion()
{
    return QStringLiteral("다른 프로그램이 이 파일을 바꾸었습니다.\n덮어쓰시겠습니까?");
}

const QString& DocumentController::SheetFileName() const { return fileName_; }
bool DocumentController::SheetModified() const { return modified_; }
void DocumentController::SetSheetModified(bool modified)
{
    modified_ = modified;
    if (stateListener_)
        stateListener_();
}

void DocumentController::SetStateListener(std::function<void()> listener)
{
    stateListener_ = std::move(listener);
}
bool DocumentController::IsUntitled() const { return fileName_ == untitledName(); }
bool DocumentController::Busy() const { return busy_ > 0; }

bool DocumentController::NewFileClick()
{
    if (modified_ && AskSaveChanges() == SaveAnswer::Cancel)
        return false;
    return runCommand([this] { return newSheet(); });
}

bool DocumentController::HFileOpenClick()
{
    return runCommand([this] { return openSheet(std::nullopt); });
}

bool DocumentController::OpenSheetPath(const QString& path)
{
    return runCommand([this, path] { return openSheet(path); });
}

bool DocumentController::SaveBtnClick()
{
    return runCommand([this] { return save(); });
}

bool DocumentController::RnameBtnClick()
{
    return runCommand([this] { return saveAs(); });
}

SaveAnswer DocumentController::AskSaveChanges()
{
    struct Notify {
        const std::function<void()>& listener;
        ~Notify()
        {
            if (listener)
                listener();
        }
    } notify{stateListener_};
    prompts_.Beep();
    const SaveAnswer answer = prompts_.AskSaveChanges(
        QStringLiteral("자료내용이 변경되었습니다.\n저장하시겠습니까?"));
    switch (answer) {
    case SaveAnswer::No:
        modified_ = false;
        return answer;
    case SaveAnswer::Yes:
        // A Yes that saved nothing must not let the caller discard the sheet.
        return SaveBtnClick() ? SaveAnswer::Yes : SaveAnswer::Cancel;
    case SaveAnswer::Cancel:
        break;
    }
    return SaveAnswer::Cancel;
}

bool DocumentController::MayClose()
{
    return !modified_ || AskSaveChanges() != SaveAnswer::Cancel;
}

void DocumentController::TakeHeaderFromView()
{
    takeHeaderFromView();
}

void DocumentController::ShowAsNewUntitledSheet()
{
    setFileName(untitledName(), untitledName());
    view_.showByNameOrder();
    view_.pushHeader(sheet_.header);
    view_.focusWorkerList();
}

void DocumentController::ShowError(const std::exception& error)
{
    prompts_.ErrorBox(errorText(error));
}

bool DocumentController::RunAsCommand(const std::function<bool()>& work)
{
    return runCommand(work);
}

bool DocumentController::runCommand(const std::function<bool()>& command)
{
    // The wait window lets events through while a file is read or written.
    ++busy_;
    struct Done {
        int& busy;
        ~Done() { --busy; }
    } leaving{busy_};
    bool done = false;
    try {
        done = command();
    } catch (const std::exception& error) {
        ShowError(error);
    }
    if (stateListener_)
        stateListener_();
    return done;
}

SheetHeader DocumentController::HeaderInView() const
{
    SheetHeader header = sheet_.header;
    view_.pullHeader(header);
    return header;
}

bool DocumentController::RestoreRecoveredSheet(const QString& copyPath, const QString& fileName,
                                               const std::optional<SheetHeader>& header)
{
    return runCommand([&] {
        {
            FreezeScope frozen(sheet_.table);
            OpenSheetFile(nativePath(copyPath), sheet_);
        }
        if (header)
            sheet_.header = *header;
        setFileName(fileName, fileName);
        view_.showByNameOrder();
        view_.pushHeader(sheet_.header);
        view_.focusWorkerList();
        modified_ = true;
        return true;
    });
}

bool DocumentController::newSheet()
{
    sheet_.period = CurrentPeriod();
    setFileName(untitledName(), untitledName());

    WorkerTable& table = sheet_.table;
    table.LoadStructure(nativePath(WorkingCopyPath(programFolder_)));
    table.Open();
    table.DeleteAllRows();
    table.SetIndexFieldNames(kByNameIndex);
    view_.showByNameOrder();

    ResetHeader(sheet_.header, sheet_.period);
    view_.pushHeader(sheet_.header);

    modified_ = false;
    view_.focusSiteName();
    return true;
}

bool DocumentController::openSheet(const std::optional<QString>& given)
{
    // An untitled sheet without workers is replaced without a question.
    const bool worthKeeping = !(IsUntitled() && sheet_.table.IsEmpty());
    bool discardAgreed = false;
    if (worthKeeping && modified_) {
        const SaveAnswer answer = AskSaveChanges();
        if (answer == SaveAnswer::Cancel)
            return false;
        discardAgreed = answer == SaveAnswer::No;
    }
    // The unsaved changes were only given up for a file that then did not come: keep them marked.
    std::optional<QString> chosen;
    FileStamp read;
    try {
        chosen = given ? given : prompts_.OpenFileName(fileDialogRequest());
        if (chosen) {
            std::optional<WaitWindow> wait;
            // Bound views would redraw on every row while the whole table is read.
            FreezeScope frozen(sheet_.table);
            // Leaves the sheet untouched when the file can't be read whole; a file that can't
            // be opened fails before the wait window comes up.
            OpenSheetFile(
                nativePath(*chosen), sheet_,
                [this](int position) {
                    view_.setWaitGauge(position);
                    if (view_.waitCancelRequested())
                        throw ReadCancelled();
                },
                [this, &wait] { wait.emplace(view_, true); }, &read);
            view_.setWaitGauge(100);
        }
    } catch (const ReadCancelled&) {
        modified_ = modified_ || discardAgreed;
        return false;
    } catch (...) {
        modified_ = modified_ || discardAgreed;
        throw;
    }
    if (!chosen) {
        modified_ = modified_ || discardAgreed;
        return false;
    }

    setFileName(*chosen, *chosen);
    stamp_ = read;
    view_.showByNameOrder();
    view_.pushHeader(sheet_.header);
    view_.focusWorkerList();
    return true;
}

bool DocumentController::save()
{
    takeHeaderFromView();
    if (IsUntitled())
        return saveAs();
    if (!mayReplaceFile())
        return false;

    bool fileWritten = false;
    writeSheet(fileWritten);
    view_.focusWorkerList();
    modified_ = false;
    return true;
}

bool DocumentController::mayReplaceFile()
{
    // A file this sheet never read or wrote (a restored copy's) is not known well enough to ask.
    if (!stamp_.known || CompareWithStamp(nativePath(fileName_), stamp_) != FileState::Changed)
        return true;
    return prompts_.ConfirmBox(changedFileQuestion());
}

bool DocumentController::saveAs()
{
    if (sheet_.table.IsEmpty())
        return false;
    const std::optional<QString> chosen = prompts_.SaveFileName(fileDialogRequest());
    if (!chosen)
        return false;

    const QString previousName = fileName_;
    const QString previousShown = shownName_;
    const FileStamp previousStamp = stamp_;
    setFileName(*chosen, *chosen);
    bool fileWritten = false;
    try {
        writeSheet(fileWritten);
    } catch (...) {
        // Nothing was written there: the sheet still belongs to its previous file.
        if (!fileWritten) {
            setFileName(previousName, previousShown);
            stamp_ = previousStamp;
        }
        throw;
    }
    view_.focusWorkerList();
    modified_ = false;
    return true;
}

void DocumentController::writeSheet(bool& fileWritten)
{
    // Save As comes here without passing through Save.
    takeHeaderFromView();

    WaitWindow wait(view_, false);
    // The writer walks the rows by position, so the current row stays where it was.
    FreezeScope frozen(sheet_.table);
    FileStamp written;
    SaveSheetFile(nativePath(fileName_), sheet_, [this](int position) { view_.setWaitGauge(position); },
                  &written);
    stamp_ = written;
    fileWritten = true;
    SaveWorkFolder(fileName_, QString::fromLatin1(kIniFileName));
    view_.setWaitGauge(100);
}

void DocumentController::takeHeaderFromView()
{
    view_.pullHeader(sheet_.header);
    sheet_.period = PeriodFromHeader(sheet_.header);
}

void DocumentController::setFileName(const QString& fileName, const QString& shownName)
{
    // What is known of a file goes with its name; Open and Save note it afresh.
    stamp_ = FileStamp();
    fileName_ = fileName;
    shownName_ = shownName;
    view_.setFileLabel(labelText(shownName_));
}

FileDialogRequest DocumentController::fileDialogRequest() const
{
    FileDialogRequest request;
    request.title = QStringLiteral("파일명을 확인하세요.");
    request.filter = QStringLiteral("근로내역확인신고서 (*.Lvo)");
    request.defaultSuffix = QStringLiteral("Lvo");
    request.proposedName = fileName_;
    request.initialFolder = GetWorkFolder(QString::fromLatin1(kIniFileName));
    return request;
}

} // namespace lavodc
