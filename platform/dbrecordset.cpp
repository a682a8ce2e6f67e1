#include "platform/dbrecordset.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

QString DbField::Text() const {
    if (Value.isNull()) return {};
    switch (Value.typeId()) {
    case QMetaType::QDateTime:
        return Value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::QDate:
        return Value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QTime:
        return Value.toTime().toString(QStringLiteral("HH:mm:ss"));
    default:
        return Value.toString();
    }
}

DbRecordset::DbRecordset(QStringList names, QList<QVariantList> rows)
    : data_(std::make_shared<Data>(Data{std::move(names), std::move(rows), 0})) {}

int DbRecordset::RecordCount() const {
    return data_ ? int(data_->rows.size()) : 0;
}

int DbRecordset::FieldCount() const {
    return data_ ? int(data_->names.size()) : 0;
}

DbField DbRecordset::Fields(int index) const {
    if (!data_ || index < 0 || index >= data_->names.size()) return {};
    DbField field{{}, data_->names.at(index)};
    if (!Eof()) field.Value = data_->rows.at(data_->position).value(index);
    return field;
}

DbField DbRecordset::Fields(const QString& name) const {
    if (!data_) return {};
    for (int i = 0; i < data_->names.size(); ++i) {
        if (data_->names.at(i).compare(name, Qt::CaseInsensitive) == 0) return Fields(i);
    }
    return {};
}

bool DbRecordset::Eof() const {
    return !data_ || data_->position >= data_->rows.size();
}

void DbRecordset::MoveFirst() {
    if (data_) data_->position = 0;
}

void DbRecordset::MoveNext() {
    if (data_ && data_->position < data_->rows.size()) ++data_->position;
}

void DbRecordset::CloseRecordset() {
    if (!data_) return;
    data_->rows.clear();
    data_->names.clear();
    data_->position = 0;
}
