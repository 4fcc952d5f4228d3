#include "services/xlsx_sheet_reader.h"

#include "core/cp949.h"

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>

#include <zip.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <vector>

namespace lavodc {

namespace {

// A worker list is small; a part beyond this is no list (or a zip bomb).
constexpr zip_uint64_t kMaxPartSize = 64u * 1024u * 1024u;
constexpr int kMaxColumn = 16384;     // XFD, the last column a workbook has
constexpr int kMaxRow = 1048576;

[[noreturn]] void Fail(const std::string& reason)
{
    throw XlsxReadError(K("엑셀 통합 문서(.xlsx)를 읽을 수 없습니다: ") + reason);
}

class ZipArchive {
public:
    explicit ZipArchive(const std::string& path)
    {
        int code = 0;
        zip_ = zip_open(path.c_str(), ZIP_RDONLY, &code);
        if (!zip_) {
            zip_error_t error;
            zip_error_init_with_code(&error, code);
            const std::string reason = zip_error_strerror(&error);
            zip_error_fini(&error);
            Fail(reason);
        }
    }
    ~ZipArchive() { zip_discard(zip_); }
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // The part's bytes; nullopt when the archive has no such part.
    std::optional<QByteArray> read(const std::string& name)
    {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat(zip_, name.c_str(), 0, &stat) != 0)
            return std::nullopt;
        if (!(stat.valid & ZIP_STAT_SIZE) || stat.size > kMaxPartSize)
            Fail(name + K(" 부분이 너무 큽니다"));
        zip_file_t* file = zip_fopen(zip_, name.c_str(), 0);
        if (!file)
            Fail(name + ": " + zip_strerror(zip_));
        QByteArray bytes(static_cast<qsizetype>(stat.size), '\0');
        zip_uint64_t done = 0;
        while (done < stat.size) {
            const zip_int64_t got = zip_fread(file, bytes.data() + done, stat.size - done);
            if (got <= 0) {
                const std::string reason = zip_file_strerror(file);
                zip_fclose(file);
                Fail(name + ": " + reason);
            }
            done += static_cast<zip_uint64_t>(got);
        }
        zip_fclose(file);
        return bytes;
    }

private:
    zip_t* zip_ = nullptr;
};

std::string FolderOf(const std::string& part)
{
    const std::size_t slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash);
}

// A relationship's target as a part name: relative to the source's folder unless it starts
// with "/", with ".." steps resolved.
std::string ResolvePart(const std::string& folder, const std::string& target)
{
    const std::string joined = !target.empty() && target[0] == '/' ? target.substr(1)
                               : folder.empty()                     ? target
                                                                    : folder + "/" + target;
    std::vector<std::string> steps;
    std::size_t start = 0;
    while (start <= joined.size()) {
        const std::size_t end = std::min(joined.find('/', start), joined.size());
        const std::string step = joined.substr(start, end - start);
        if (step == "..") {
            if (!steps.empty())
                steps.pop_back();
        } else if (!step.empty() && step != ".") {
            steps.push_back(step);
        }
        start = end + 1;
    }
    std::string part;
    for (const std::string& step : steps)
        part += (part.empty() ? "" : "/") + step;
    return part;
}

void CheckXml(const QXmlStreamReader& xml, const std::string& part)
{
    if (xml.hasError())
        Fail(part + K(" 부분이 손상되었습니다 (") + toCp949(xml.errorString().toStdString()) + ")");
}

// The targets of the relationships of a part whose type ends with `typeSuffix`.
std::vector<std::string> RelationTargets(ZipArchive& zip, const std::string& relsPart, const std::string& folder,
                                         const QString& typeSuffix)
{
    std::vector<std::string> targets;
    const std::optional<QByteArray> bytes = zip.read(relsPart);
    if (!bytes)
        return targets;
    QXmlStreamReader xml(*bytes);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"Relationship" &&
            xml.attributes().value("Type").endsWith(typeSuffix))
            targets.push_back(ResolvePart(folder, xml.attributes().value("Target").toString().toStdString()));
    }
    CheckXml(xml, relsPart);
    return targets;
}

// An attribute by its local name, whatever namespace prefix it carries.
QString AttributeByLocalName(const QXmlStreamAttributes& attributes, QStringView name)
{
    for (const QXmlStreamAttribute& attribute : attributes)
        if (attribute.name() == name)
            return attribute.value().toString();
    return {};
}

struct WorkbookParts {
    std::string sheet;
    std::string sharedStrings;
};

WorkbookParts FindParts(ZipArchive& zip)
{
    std::string workbook = "xl/workbook.xml";
    const std::vector<std::string> documents =
        RelationTargets(zip, "_rels/.rels", "", QStringLiteral("/officeDocument"));
    if (!documents.empty())
        workbook = documents.front();
    const std::optional<QByteArray> bytes = zip.read(workbook);
    if (!bytes)
        Fail(K("통합 문서 부분(") + workbook + K(")이 없습니다"));

    // The first <sheet> of <sheets> names the relationship of the first worksheet.
    QString sheetId;
    QXmlStreamReader xml(*bytes);
    while (!xml.atEnd() && sheetId.isEmpty()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"sheet")
            sheetId = AttributeByLocalName(xml.attributes(), u"id");
    }
    CheckXml(xml, workbook);
    if (sheetId.isEmpty())
        Fail(K("통합 문서에 워크시트가 없습니다"));

    const std::string folder = FolderOf(workbook);
    // A part's relations live in "_rels/<its name>.rels" beside it.
    const std::string rels = (folder.empty() ? "" : folder + "/") + "_rels/" +
                             workbook.substr(folder.empty() ? 0 : folder.size() + 1) + ".rels";
    WorkbookParts parts;
    const std::optional<QByteArray> relBytes = zip.read(rels);
    if (!relBytes)
        Fail(K("통합 문서의 관계 부분(") + rels + K(")이 없습니다"));
    QXmlStreamReader relations(*relBytes);
    while (!relations.atEnd()) {
        relations.readNext();
        if (!relations.isStartElement() || relations.name() != u"Relationship")
            continue;
        const QXmlStreamAttributes attributes = relations.attributes();
        const std::string target = ResolvePart(folder, attributes.value("Target").toString().toStdString());
        if (attributes.value("Id") == sheetId)
            parts.sheet = target;
        else if (attributes.value("Type").endsWith(u"/sharedStrings"))
            parts.sharedStrings = target;
    }
    CheckXml(relations, rels);
    if (parts.sheet.empty())
        Fail(K("첫 워크시트를 찾을 수 없습니다"));
    return parts;
}

// The text of an <si> or <is> element: its <t> texts, without the phonetic runs (<rPh>).
QString RichText(QXmlStreamReader& xml)
{
    QString text;
    const QString element = xml.name().toString();
    int phonetic = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == u"rPh")
                ++phonetic;
            else if (xml.name() == u"t" && phonetic == 0)
                text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (xml.isEndElement()) {
            if (xml.name() == u"rPh")
                --phonetic;
            else if (xml.name() == element)
                break;
        }
    }
    return text;
}

std::vector<QString> ReadSharedStrings(ZipArchive& zip, const std::string& part)
{
    std::vector<QString> strings;
    if (part.empty())
        return strings;
    const std::optional<QByteArray> bytes = zip.read(part);
    if (!bytes)
        return strings;
    QXmlStreamReader xml(*bytes);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"si")
            strings.push_back(RichText(xml));
    }
    CheckXml(xml, part);
    return strings;
}

// "B12" gives column 2; 0 when the reference has no letters.
int ColumnOf(QStringView reference)
{
    int column = 0;
    for (const QChar c : reference) {
        const char16_t u = c.unicode();
        if (u >= 'A' && u <= 'Z')
            column = column * 26 + (u - 'A' + 1);
        else if (u >= 'a' && u <= 'z')
            column = column * 26 + (u - 'a' + 1);
        else
            break;
        if (column > kMaxColumn)
            return kMaxColumn + 1;
    }
    return column;
}

// A number cell as the text a clerk sees: whole numbers without a fraction or exponent.
std::string NumberText(const QString& value)
{
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return value.toStdString();
    char text[64];
    if (number == std::floor(number) && std::fabs(number) < 1e15)
        std::snprintf(text, sizeof text, "%.0f", number);
    else
        std::snprintf(text, sizeof text, "%.15g", number);
    return text;
}

} // namespace

CellRows ReadXlsxFirstSheet(const std::string& path)
{
    ZipArchive zip(path);
    const WorkbookParts parts = FindParts(zip);
    const std::vector<QString> shared = ReadSharedStrings(zip, parts.sharedStrings);
    const std::optional<QByteArray> bytes = zip.read(parts.sheet);
    if (!bytes)
        Fail(K("워크시트 부분(") + parts.sheet + K(")이 없습니다"));

    std::map<int, std::vector<std::string>> rows;
    QXmlStreamReader xml(*bytes);
    int rowNumber = 0;
    int column = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"row") {
            const int given = xml.attributes().value("r").toInt();
            rowNumber = given > 0 ? given : rowNumber + 1;
            column = 0;
            continue;
        }
        if (xml.name() != u"c")
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        const int given = ColumnOf(attributes.value("r"));
        column = given > 0 ? given : column + 1;
        const QString type = attributes.value("t").toString();
        QString value;
        bool hasValue = false;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isEndElement() && xml.name() == u"c")
                break;
            if (!xml.isStartElement())
                continue;
            if (xml.name() == u"v") {
                value = xml.readElementText();
                hasValue = true;
            } else if (xml.name() == u"is") {
                value = RichText(xml);
                hasValue = true;
            } else {
                xml.skipCurrentElement();   // formulas and extensions
            }
        }
        if (!hasValue || rowNumber < 1 || rowNumber > kMaxRow || column > kMaxColumn)
            continue;
        std::string text;
        if (type == u"s") {
            bool ok = false;
            const qsizetype index = value.toLongLong(&ok);
            if (!ok || index < 0 || index >= static_cast<qsizetype>(shared.size()))
                Fail(parts.sheet + K(": 없는 공유 문자열을 가리킵니다"));
            text = shared[static_cast<std::size_t>(index)].toStdString();
        } else if (type.isEmpty() || type == u"n") {
            text = NumberText(value);
        } else {
            text = value.toStdString();   // inline, formula and other texts as written
        }
        std::vector<std::string>& cells = rows[rowNumber];
        if (cells.size() < static_cast<std::size_t>(column))
            cells.resize(static_cast<std::size_t>(column));
        cells[static_cast<std::size_t>(column - 1)] = std::move(text);
    }
    CheckXml(xml, parts.sheet);

    CellRows result;
    result.reserve(rows.size());
    for (auto& [number, cells] : rows)
        result.push_back(CellRow{number, std::move(cells)});
    return result;
}

} // namespace lavodc
