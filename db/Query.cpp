#include "Query.h"

#include "Cp1251.h"
#include "Database.h"
#include "DbError.h"
#include "FbApi.h"
#include "NamedParams.h"
#include "Transaction.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

using namespace Qt::StringLiterals;
using namespace Firebird;

namespace {
constexpr int dialect = 3;
// ISC_DATE counts days from 1858-11-17; the program counts from 1899-12-30.
constexpr int dayZeroAsIscDate = 15018;
constexpr double iscTimeUnitsPerDay = 864'000'000.0; // 1/10000 s

template <typename T>
T read(const unsigned char* p)
{
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <typename T>
void write(unsigned char* p, T v)
{
    std::memcpy(p, &v, sizeof v);
}

// Days since 1899-12-30 to the server's date and time, rounded to the millisecond.
void toIsc(double days, ISC_DATE& date, ISC_TIME& time)
{
    qint64 ms = std::llround(days * 86'400'000.0);
    qint64 day = ms / 86'400'000;
    if (ms % 86'400'000 < 0)
        --day;
    date = ISC_DATE(day + dayZeroAsIscDate);
    time = ISC_TIME((ms - day * 86'400'000) * 10);
}

double fromIsc(ISC_DATE date, ISC_TIME time)
{
    return double(date - dayZeroAsIscDate) + double(time) / iscTimeUnitsPerDay;
}

QString decodeText(const char* bytes, int length, unsigned charset)
{
    if (charset == 3 || charset == 4) // UNICODE_FSS, UTF8
        return QString::fromUtf8(bytes, length);
    return Cp1251::decode(bytes, length);
}

double scaled(qint64 value, int scale)
{
    return double(value) * std::pow(10.0, scale);
}

struct MetadataRelease {
    IMessageMetadata*& meta;
    ~MetadataRelease()
    {
        if (meta)
            meta->release();
    }
};
}

Query::Query(Database& db, Transaction& transaction, QObject* parent)
    : QObject(parent), m_db(db), m_transaction(transaction)
{
    m_db.m_queries.push_back(this);
}

Query::~Query()
{
    unprepare();
    std::erase(m_db.m_queries, this);
}

void Query::clearSql()
{
    setSql({});
}

void Query::addSql(const QString& line)
{
    QStringList lines = m_sql;
    lines << line;
    setSql(lines);
}

void Query::setSql(const QStringList& lines)
{
    if (lines == m_sql)
        return;
    close();
    if (KeepPrepared > 0 && m_statement) {
        m_kept.insert(m_kept.begin(), takePrepared());
        while (int(m_kept.size()) > KeepPrepared) {
            freePrepared(m_kept.back());
            m_kept.pop_back();
        }
    } else {
        Prepared current = takePrepared();
        freePrepared(current);
    }
    m_sql = lines;
    m_params.clear();
    const auto kept = std::find_if(m_kept.begin(), m_kept.end(), [&](const Prepared& p) { return p.sql == lines; });
    if (kept != m_kept.end()) {
        m_statement = kept->statement;
        m_outMeta = kept->outMeta;
        m_paramNames = kept->paramNames;
        m_fieldNames = kept->fieldNames;
        m_kept.erase(kept);
    }
}

Query::Prepared Query::takePrepared()
{
    return {m_sql, std::exchange(m_statement, nullptr), std::exchange(m_outMeta, nullptr),
            std::exchange(m_paramNames, {}), std::exchange(m_fieldNames, {})};
}

void Query::freePrepared(Prepared& p)
{
    if (p.outMeta) {
        p.outMeta->release();
        p.outMeta = nullptr;
    }
    if (p.statement) {
        Fb::Status st;
        Database::Request request(m_db);
        p.statement->free(&st);
        if ((&st)->getState() & IStatus::STATE_ERRORS)
            p.statement->release();
        p.statement = nullptr;
    }
}

void Query::setParam(const QString& name, const DbValue& value)
{
    m_params.insert(name.toUpper(), value);
}

void Query::unprepare(bool keepFields)
{
    for (Prepared& p : m_kept)
        freePrepared(p);
    m_kept.clear();
    Prepared current = takePrepared();
    freePrepared(current);
    if (keepFields)
        m_fieldNames = current.fieldNames;
}

void Query::prepare()
{
    if (m_statement)
        return;
    m_db.countRequest();
    IAttachment* att = m_db.attachment();
    Database::Request request(m_db);
    PositionalSql positional = toPositional(m_sql.join(u'\n'));
    QByteArray text = Cp1251::encode(positional.sql);
    Fb::Status st;
    IStatement* statement = att->prepare(&st, m_transaction.handle(), unsigned(text.size()), text.constData(),
                                         dialect, IStatement::PREPARE_PREFETCH_METADATA);
    st.check();
    m_statement = statement;
    m_paramNames = positional.names;
    m_outMeta = m_statement->getOutputMetadata(&st);
    st.check();
    m_fieldNames.clear();
    unsigned count = m_outMeta->getCount(&st);
    for (unsigned i = 0; i < count; ++i)
        m_fieldNames << decodeText(m_outMeta->getAlias(&st, i), int(std::strlen(m_outMeta->getAlias(&st, i))),
                                   Fb::charsetWin1251);
    st.check();
}

void Query::bindInput(std::vector<unsigned char>& buffer, IMessageMetadata*& metadata)
{
    Fb::Status st;
    IMessageMetadata* given = m_statement->getInputMetadata(&st);
    st.check();
    MetadataRelease releaseGiven{given};
    unsigned count = given->getCount(&st);
    st.check();
    if (count != unsigned(m_paramNames.size()))
        throw DbError(u"Число параметров запроса не совпадает с его текстом"_s);

    // Each value goes to the server in its own type; the server converts it to the column's.
    std::vector<DbValue> values;
    std::vector<QByteArray> texts(count);
    IMetadataBuilder* builder = given->getBuilder(&st);
    st.check();
    struct BuilderRelease {
        IMetadataBuilder* b;
        ~BuilderRelease() { b->release(); }
    } releaseBuilder{builder};
    for (unsigned i = 0; i < count; ++i) {
        auto found = m_params.constFind(m_paramNames[int(i)]);
        if (found == m_params.cend())
            throw DbError(u"Не задано значение параметра %1"_s.arg(m_paramNames[int(i)]));
        const DbValue& v = *found;
        values.push_back(v);
        switch (v.type()) {
        case DbValue::Type::Null:
            break;
        case DbValue::Type::Integer:
            builder->setType(&st, i, SQL_INT64);
            builder->setScale(&st, i, 0);
            builder->setLength(&st, i, sizeof(qint64));
            break;
        case DbValue::Type::Double:
            builder->setType(&st, i, SQL_DOUBLE);
            builder->setScale(&st, i, 0);
            builder->setLength(&st, i, sizeof(double));
            break;
        case DbValue::Type::Text:
            texts[i] = Cp1251::encode(*v.toText());
            builder->setType(&st, i, SQL_VARYING);
            builder->setCharSet(&st, i, Fb::charsetWin1251);
            builder->setLength(&st, i, unsigned(std::max<qsizetype>(texts[i].size(), 1)));
            break;
        case DbValue::Type::Timestamp:
            builder->setType(&st, i, SQL_TIMESTAMP);
            builder->setLength(&st, i, sizeof(ISC_TIMESTAMP));
            break;
        case DbValue::Type::Time:
            builder->setType(&st, i, SQL_TYPE_TIME);
            builder->setLength(&st, i, sizeof(ISC_TIME));
            break;
        }
        st.check();
    }
    metadata = builder->getMetadata(&st);
    st.check();
    buffer.assign(metadata->getMessageLength(&st), 0);
    st.check();
    for (unsigned i = 0; i < count; ++i) {
        unsigned char* field = buffer.data() + metadata->getOffset(&st, i);
        write<short>(buffer.data() + metadata->getNullOffset(&st, i), values[i].isNull() ? -1 : 0);
        st.check();
        switch (values[i].type()) {
        case DbValue::Type::Null:
            break;
        case DbValue::Type::Integer:
            write<qint64>(field, *values[i].toInt64());
            break;
        case DbValue::Type::Double:
            write<double>(field, *values[i].toDouble());
            break;
        case DbValue::Type::Text:
            write<quint16>(field, quint16(texts[i].size()));
            std::memcpy(field + 2, texts[i].constData(), size_t(texts[i].size()));
            break;
        case DbValue::Type::Timestamp: {
            ISC_TIMESTAMP ts;
            toIsc(*values[i].toDouble(), ts.timestamp_date, ts.timestamp_time);
            write(field, ts);
            break;
        }
        case DbValue::Type::Time: {
            ISC_DATE unusedDate;
            ISC_TIME time;
            toIsc(*values[i].toDouble(), unusedDate, time);
            write(field, time);
            break;
        }
        }
    }
}

Query::Row Query::decodeRow(const unsigned char* buffer) const
{
    Fb::Status st;
    IMessageMetadata* meta = m_outMeta;
    unsigned count = meta->getCount(&st);
    Row row;
    row.reserve(count);
    for (unsigned i = 0; i < count; ++i) {
        if (read<short>(buffer + meta->getNullOffset(&st, i)) != 0) {
            row.emplace_back();
            continue;
        }
        const unsigned char* p = buffer + meta->getOffset(&st, i);
        int scale = meta->getScale(&st, i);
        switch (meta->getType(&st, i) & ~1u) {
        case SQL_TEXT:
            row.push_back(DbValue::text(decodeText(reinterpret_cast<const char*>(p),
                                                   int(meta->getLength(&st, i)), meta->getCharSet(&st, i))));
            break;
        case SQL_VARYING:
            row.push_back(DbValue::text(decodeText(reinterpret_cast<const char*>(p + 2), read<quint16>(p),
                                                   meta->getCharSet(&st, i))));
            break;
        case SQL_SHORT:
            row.push_back(scale ? DbValue::number(scaled(read<qint16>(p), scale)) : DbValue::integer(read<qint16>(p)));
            break;
        case SQL_LONG:
            row.push_back(scale ? DbValue::number(scaled(read<qint32>(p), scale)) : DbValue::integer(read<qint32>(p)));
            break;
        case SQL_INT64:
            row.push_back(scale ? DbValue::number(scaled(read<qint64>(p), scale)) : DbValue::integer(read<qint64>(p)));
            break;
        case SQL_FLOAT:
            row.push_back(DbValue::number(read<float>(p)));
            break;
        case SQL_DOUBLE:
        case SQL_D_FLOAT:
            row.push_back(DbValue::number(read<double>(p)));
            break;
        case SQL_TIMESTAMP: {
            auto ts = read<ISC_TIMESTAMP>(p);
            row.push_back(DbValue::timestamp(fromIsc(ts.timestamp_date, ts.timestamp_time)));
            break;
        }
        case SQL_TYPE_DATE:
            row.push_back(DbValue::timestamp(fromIsc(read<ISC_DATE>(p), 0)));
            break;
        case SQL_TYPE_TIME:
            row.push_back(DbValue::timeOfDay(double(read<ISC_TIME>(p)) / iscTimeUnitsPerDay));
            break;
        case SQL_BOOLEAN:
            row.push_back(DbValue::integer(*p ? 1 : 0));
            break;
        default:
            // Blobs and arrays carry nothing the monitor shows.
            row.emplace_back();
            break;
        }
    }
    st.check();
    return row;
}

template <typename Request>
void Query::send(Request request)
{
    if (!KeepRowsOnFailure)
        close();
    Database::Request guard(m_db);
    prepare();
    m_db.countRequest();
    std::vector<unsigned char> input;
    IMessageMetadata* inMeta = nullptr;
    MetadataRelease releaseIn{inMeta};
    bindInput(input, inMeta);
    request(inMeta, input.data());
}

void Query::open()
{
    send([this](IMessageMetadata* inMeta, void* input) { fetchAll(inMeta, input); });
}

void Query::fetchAll(IMessageMetadata* inMeta, void* input)
{
    Fb::Status st;
    IResultSet* cursor = m_statement->openCursor(&st, m_transaction.handle(), inMeta, input, m_outMeta, 0);
    st.check();
    std::vector<unsigned char> buffer(m_outMeta->getMessageLength(&st));
    std::vector<Row> rows;
    try {
        st.check();
        while (cursor->fetchNext(&st, buffer.data()) == IStatus::RESULT_OK)
            rows.push_back(decodeRow(buffer.data()));
        st.check();
    } catch (...) {
        cursor->release();
        throw;
    }
    cursor->close(&st); // releases the cursor on success
    if ((&st)->getState() & IStatus::STATE_ERRORS)
        cursor->release();
    st.check();
    m_rows = std::move(rows);
    m_current = 0;
    m_open = true;
    emit rowsChanged();
    emit currentChanged(m_current);
}

void Query::execute()
{
    send([this](IMessageMetadata* inMeta, void* input) { executeOnce(inMeta, input); });
}

void Query::executeOnce(IMessageMetadata* inMeta, void* input)
{
    Fb::Status st;
    unsigned outputs = m_outMeta->getCount(&st);
    std::vector<unsigned char> output(outputs ? m_outMeta->getMessageLength(&st) : 0);
    st.check();
    m_statement->execute(&st, m_transaction.handle(), inMeta, input, outputs ? m_outMeta : nullptr,
                         outputs ? output.data() : nullptr);
    st.check();
    if (outputs) {
        m_rows.push_back(decodeRow(output.data()));
        m_current = 0;
        m_open = true;
        emit rowsChanged();
        emit currentChanged(m_current);
    }
}

void Query::close()
{
    if (!m_open)
        return;
    m_open = false;
    m_rows.clear();
    m_current = 0;
    emit rowsChanged();
}

void Query::setRows(const QStringList& fieldNames, std::vector<Row> rows)
{
    m_fieldNames = fieldNames;
    m_rows = std::move(rows);
    m_current = 0;
    m_open = true;
    emit rowsChanged();
    emit currentChanged(m_current);
}

void Query::setRecNo(int row)
{
    row = std::clamp(row, 0, recordCount());
    if (row == m_current)
        return;
    m_current = row;
    emit currentChanged(m_current);
}

bool Query::locate(const QString& field, qint64 key)
{
    int column = fieldIndex(field);
    if (column < 0)
        throw DbError(u"Поле %1 не найдено"_s.arg(field));
    for (int i = 0; i < recordCount(); ++i) {
        const DbValue& v = m_rows[size_t(i)][size_t(column)];
        if (!v.isNull() && v.type() == DbValue::Type::Integer && *v.toInt64() == key) {
            setRecNo(i);
            return true;
        }
    }
    return false;
}

int Query::fieldIndex(const QString& name) const
{
    for (int i = 0; i < m_fieldNames.size(); ++i)
        if (m_fieldNames[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const DbValue& Query::field(const QString& name) const
{
    int column = fieldIndex(name);
    if (column < 0)
        throw DbError(u"Поле %1 не найдено"_s.arg(name));
    if (eof())
        throw DbError(u"Нет текущей строки для чтения поля %1"_s.arg(name));
    return m_rows[size_t(m_current)][size_t(column)];
}

std::optional<int> Query::asInt(const QString& name) const
{
    std::optional<qint64> v = asInt64(name);
    if (v && (*v < INT_MIN || *v > INT_MAX))
        throw DbError(u"Значение поля %1 не помещается в 32 бита"_s.arg(name));
    return v ? std::optional<int>(int(*v)) : std::nullopt;
}

std::optional<double> Query::asDateTime(const QString& name) const
{
    const DbValue& v = field(name);
    if (!v.isNull() && v.type() != DbValue::Type::Timestamp && v.type() != DbValue::Type::Time)
        throw DbError(u"Поле %1 не содержит даты"_s.arg(name));
    return v.toDouble();
}
