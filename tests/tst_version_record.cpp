// Compiles the Windows resource script that the build makes for dilmora.exe with the
// MinGW resource compiler and reads the compiled resources back: the version record
// field by field, and the icon image by image against app/assets/dilmora.ico.
#include "app/identity.h"

#include <QtTest>

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <map>
#include <optional>
#include <vector>

namespace {

constexpr int kTypeIcon = 3;       // RT_ICON
constexpr int kTypeGroupIcon = 14; // RT_GROUP_ICON
constexpr int kTypeVersion = 16;   // RT_VERSION
constexpr int kTypeText = 1;       // a version block whose value is text

quint32 readU16(const QByteArray& bytes, qsizetype at)
{
    return quint32(quint8(bytes[at])) | quint32(quint8(bytes[at + 1])) << 8;
}

quint32 readU32(const QByteArray& bytes, qsizetype at)
{
    return readU16(bytes, at) | readU16(bytes, at + 2) << 16;
}

qsizetype alignTo4(qsizetype at)
{
    return (at + 3) & ~qsizetype(3);
}

// A NUL-terminated UTF-16 string at `at`, not past `end`; `after` gets the offset past the NUL.
std::optional<QString> readText(const QByteArray& bytes, qsizetype at, qsizetype end,
                                qsizetype* after)
{
    QString text;
    for (; at + 1 < end; at += 2) {
        const char16_t unit = char16_t(readU16(bytes, at));
        if (unit == 0) {
            if (after)
                *after = at + 2;
            return text;
        }
        text.append(QChar(unit));
    }
    return std::nullopt;
}

// One resource of a .res file: a type and a name, each a number or a string.
struct Resource {
    int type = -1;
    QString typeName;
    int id = -1;
    QString name;
    quint16 language = 0;
    QByteArray data;
};

// The resources of a .res file, or a description of where it is malformed.
std::vector<Resource> readResources(const QByteArray& res, QString* error)
{
    std::vector<Resource> resources;
    qsizetype at = 0;
    while (at < res.size()) {
        if (at + 32 > res.size()) {
            *error = QStringLiteral("a resource header is cut off at %1").arg(at);
            return {};
        }
        const qsizetype dataSize = readU32(res, at);
        const qsizetype headerSize = readU32(res, at + 4);
        if (headerSize < 32 || at + headerSize + dataSize > res.size()) {
            *error = QStringLiteral("the resource at %1 runs past the end of the file").arg(at);
            return {};
        }
        Resource resource;
        qsizetype field = at + 8;
        const auto readNameOrId = [&](int* id, QString* name) {
            if (readU16(res, field) == 0xFFFF) {
                *id = int(readU16(res, field + 2));
                field += 4;
                return true;
            }
            const std::optional<QString> text = readText(res, field, at + headerSize, &field);
            if (text)
                *name = *text;
            return text.has_value();
        };
        if (!readNameOrId(&resource.type, &resource.typeName)
            || !readNameOrId(&resource.id, &resource.name)) {
            *error = QStringLiteral("the resource at %1 has an unterminated type or name").arg(at);
            return {};
        }
        field = alignTo4(field);
        resource.language = quint16(readU16(res, field + 6));
        resource.data = res.mid(at + headerSize, dataSize);
        // A .res file starts with an empty entry of type 0 that only marks the format.
        if (!(resource.type == 0 && resource.id == 0 && dataSize == 0))
            resources.push_back(resource);
        at = alignTo4(at + headerSize + dataSize);
    }
    return resources;
}

// One block of a VS_VERSIONINFO tree: a key, a value and child blocks.
struct Block {
    QString key;
    int type = 0;
    QByteArray value;
    QString text;
    std::vector<Block> children;
};

std::optional<Block> readBlock(const QByteArray& bytes, qsizetype at, qsizetype end, QString* error)
{
    if (at + 6 > end) {
        *error = QStringLiteral("a version block header is cut off at %1").arg(at);
        return std::nullopt;
    }
    const qsizetype length = readU16(bytes, at);
    const qsizetype valueLength = readU16(bytes, at + 2);
    Block block;
    block.type = int(readU16(bytes, at + 4));
    const qsizetype blockEnd = at + length;
    if (length < 6 || blockEnd > end) {
        *error = QStringLiteral("the version block at %1 claims %2 bytes, past its parent")
                     .arg(at)
                     .arg(length);
        return std::nullopt;
    }
    qsizetype field = 0;
    const std::optional<QString> key = readText(bytes, at + 6, blockEnd, &field);
    if (!key) {
        *error = QStringLiteral("the version block at %1 has an unterminated key").arg(at);
        return std::nullopt;
    }
    block.key = *key;
    field = alignTo4(field);
    // A text value counts UTF-16 units, a binary one bytes.
    const qsizetype valueBytes = block.type == kTypeText ? 2 * valueLength : valueLength;
    if (field + valueBytes > blockEnd) {
        *error = QStringLiteral("the value of \"%1\" runs past its block").arg(block.key);
        return std::nullopt;
    }
    block.value = bytes.mid(field, valueBytes);
    if (block.type == kTypeText && valueBytes > 0)
        block.text = readText(bytes, field, field + valueBytes, nullptr).value_or(QString());
    field = alignTo4(field + valueBytes);
    while (field < blockEnd) {
        std::optional<Block> child = readBlock(bytes, field, blockEnd, error);
        if (!child)
            return std::nullopt;
        const qsizetype childLength = readU16(bytes, field);
        block.children.push_back(std::move(*child));
        field = alignTo4(field + childLength);
    }
    return block;
}

const Block* childBlock(const Block& parent, const QString& key)
{
    for (const Block& child : parent.children) {
        if (child.key == key)
            return &child;
    }
    return nullptr;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// What the record of dilmora.exe says in its string table.
const std::map<QString, QString>& expectedStrings()
{
    static const std::map<QString, QString> strings = {
        {QStringLiteral("ProductName"), text(dilmora::app::identity::kProductName)},
        {QStringLiteral("InternalName"), text(dilmora::app::identity::kInternalName)},
        {QStringLiteral("FileVersion"), text(dilmora::app::identity::kVersionString)},
        {QStringLiteral("ProductVersion"), text(dilmora::app::identity::kVersionString)},
        {QStringLiteral("OriginalFilename"), QStringLiteral("dilmora.exe")},
        {QStringLiteral("FileDescription"), QStringLiteral(DILMORA_DESCRIPTION)},
        {QStringLiteral("LegalCopyright"), QStringLiteral("Copyright (C) The Dilmora authors")},
    };
    return strings;
}

} // namespace

class TestVersionRecord : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void oneRecordAndOneIcon();
    void fixedInfo_data();
    void fixedInfo();
    void strings_data();
    void strings();
    void noOtherStrings();
    void translation();
    void iconImages();

private:
    std::vector<Resource> m_resources;
    std::optional<Block> m_record;
    const Block* m_table = nullptr;

    const Resource* find(int type, int id = -1) const;
};

void TestVersionRecord::initTestCase()
{
    QVERIFY2(QFile::exists(QStringLiteral(DILMORA_RC_FILE)), "the build made no resource script");
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString res = folder.filePath(QStringLiteral("dilmora.res"));

    QProcess windres;
    windres.setProcessChannelMode(QProcess::MergedChannels);
    windres.start(QStringLiteral(DILMORA_WINDRES),
                  {QStringLiteral("--preprocessor=" DILMORA_RC_PREPROCESSOR),
                   QStringLiteral("--preprocessor-arg=-E"),
                   QStringLiteral("--preprocessor-arg=-xc"),
                   QStringLiteral("--preprocessor-arg=-DRC_INVOKED"), QStringLiteral("-i"),
                   QStringLiteral(DILMORA_RC_FILE), QStringLiteral("-O"), QStringLiteral("res"),
                   QStringLiteral("-o"), res});
    QVERIFY2(windres.waitForStarted(),
             DILMORA_WINDRES " does not start: install binutils-mingw-w64-x86-64");
    QVERIFY(windres.waitForFinished(60000));
    const QByteArray output = windres.readAll();
    QVERIFY2(windres.exitStatus() == QProcess::NormalExit && windres.exitCode() == 0,
             output.constData());

    QString error;
    m_resources = readResources(readFile(res), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));

    const Resource* version = find(kTypeVersion);
    QVERIFY2(version, "the resources hold no version record");
    m_record = readBlock(version->data, 0, version->data.size(), &error);
    QVERIFY2(m_record, qPrintable(error));
    const Block* stringFileInfo = childBlock(*m_record, QStringLiteral("StringFileInfo"));
    QVERIFY2(stringFileInfo, "the version record has no StringFileInfo");
    QCOMPARE(stringFileInfo->children.size(), size_t(1));
    m_table = &stringFileInfo->children.front();
}

const Resource* TestVersionRecord::find(int type, int id) const
{
    for (const Resource& resource : m_resources) {
        if (resource.type == type && (id < 0 || resource.id == id))
            return &resource;
    }
    return nullptr;
}

void TestVersionRecord::oneRecordAndOneIcon()
{
    std::map<int, int> counts;
    for (const Resource& resource : m_resources) {
        QVERIFY2(resource.typeName.isEmpty(), qPrintable(resource.typeName));
        ++counts[resource.type];
    }
    QCOMPARE(counts[kTypeVersion], 1);
    QCOMPARE(counts[kTypeGroupIcon], 1);
    QCOMPARE(counts.size(), size_t(3)); // and the images of that one icon

    const Resource* version = find(kTypeVersion);
    QCOMPARE(version->id, 1); // VS_VERSION_INFO
    QCOMPARE(version->language, quint16(0x0409));
    QCOMPARE(m_record->key, QStringLiteral("VS_VERSION_INFO"));
    QCOMPARE(readU16(version->data, 0), quint32(version->data.size()));
}

void TestVersionRecord::fixedInfo_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<quint32>("expected");

    // VS_FIXEDFILEINFO, field by field; versions are major << 16 | minor, then patch << 16 | build.
    QTest::newRow("signature") << 0 << 0xFEEF04BDu;
    QTest::newRow("structure version 1.0") << 4 << 0x00010000u;
    QTest::newRow("file version 1.0") << 8 << 0x00010000u;
    QTest::newRow("file version .0.0") << 12 << 0u;
    QTest::newRow("product version 1.0") << 16 << 0x00010000u;
    QTest::newRow("product version .0.0") << 20 << 0u;
    QTest::newRow("flags mask") << 24 << 0x3Fu;
    QTest::newRow("flags: release build") << 28 << 0u;
    QTest::newRow("system: 32/64-bit Windows") << 32 << 0x40004u;
    QTest::newRow("type: application") << 36 << 1u;
    QTest::newRow("subtype") << 40 << 0u;
    QTest::newRow("date, high") << 44 << 0u;
    QTest::newRow("date, low") << 48 << 0u;
}

void TestVersionRecord::fixedInfo()
{
    QFETCH(int, offset);
    QFETCH(quint32, expected);

    QCOMPARE(m_record->type, 0);
    QCOMPARE(m_record->value.size(), 52);
    QCOMPARE(readU32(m_record->value, offset), expected);
}

void TestVersionRecord::strings_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    for (const auto& [key, value] : expectedStrings())
        QTest::newRow(qPrintable(key)) << key << value;
}

void TestVersionRecord::strings()
{
    QFETCH(QString, key);
    QFETCH(QString, expected);

    const Block* string = childBlock(*m_table, key);
    QVERIFY2(string, "missing from the string table");
    QCOMPARE(string->type, kTypeText);
    QCOMPARE(string->text, expected);
    QVERIFY(string->children.empty());
}

void TestVersionRecord::noOtherStrings()
{
    QStringList unexpected;
    for (const Block& string : m_table->children) {
        if (!expectedStrings().count(string.key))
            unexpected << string.key;
    }
    QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(u", ")));
    QCOMPARE(m_table->children.size(), expectedStrings().size());
}

void TestVersionRecord::translation()
{
    // The string table's key names the language and code page that VarFileInfo lists.
    QCOMPARE(m_table->key, QStringLiteral("040904B0"));
    const Block* varFileInfo = childBlock(*m_record, QStringLiteral("VarFileInfo"));
    QVERIFY2(varFileInfo, "the version record has no VarFileInfo");
    const Block* translation = childBlock(*varFileInfo, QStringLiteral("Translation"));
    QVERIFY2(translation, "VarFileInfo has no Translation");
    QCOMPARE(translation->value.size(), 4);
    QCOMPARE(readU16(translation->value, 0), 0x0409u); // U.S. English
    QCOMPARE(readU16(translation->value, 2), 1200u);   // UTF-16
}

void TestVersionRecord::iconImages()
{
    const QByteArray ico = readFile(QStringLiteral(DILMORA_SOURCE_DIR "/app/assets/dilmora.ico"));
    QVERIFY(ico.size() > 6);
    const int count = int(readU16(ico, 4));
    QCOMPARE(count, 7); // 16, 32 and 48 pixels, each at 8 and at 32 bits a pixel, and 256 as PNG

    const Resource* group = find(kTypeGroupIcon);
    QVERIFY(group);
    QCOMPARE(group->data.size(), 6 + 14 * count);
    QCOMPARE(readU16(group->data, 2), 1u); // an icon, not a cursor
    QCOMPARE(int(readU16(group->data, 4)), count);
    for (int i = 0; i < count; ++i) {
        const qsizetype file = 6 + 16 * i;  // ICONDIRENTRY in the .ico
        const qsizetype entry = 6 + 14 * i; // GRPICONDIRENTRY in the resources
        // Width, height, colours, reserved, planes, bits a pixel and size agree.
        QCOMPARE(group->data.mid(entry, 12), ico.mid(file, 12));
        const Resource* image = find(kTypeIcon, int(readU16(group->data, entry + 12)));
        QVERIFY2(image, qPrintable(QStringLiteral("image %1 of the icon is missing").arg(i)));
        QCOMPARE(image->data, ico.mid(readU32(ico, file + 12), readU32(ico, file + 8)));
    }
}

QTEST_GUILESS_MAIN(TestVersionRecord)
#include "tst_version_record.moc"
