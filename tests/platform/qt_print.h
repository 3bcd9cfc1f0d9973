#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <ostream>

// Readable failure messages for Qt strings; GoogleTest looks these up in the global namespace.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '{';
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (i) *os << ", ";
        PrintTo(list[i], os);
    }
    *os << '}';
}

inline void PrintTo(const QList<QStringList>& lists, std::ostream* os) {
    *os << '{';
    for (qsizetype i = 0; i < lists.size(); ++i) {
        if (i) *os << ", ";
        PrintTo(lists[i], os);
    }
    *os << '}';
}
