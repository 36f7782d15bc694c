#pragma once

#include <QList>
#include <QString>

namespace fennick {

// One row of a report table: the left column (`keyDateStr`) and the right
// column (`dataStr`).
struct myDspData {
    QString keyDateStr;
    QString dataStr;
    friend bool operator==(const myDspData&, const myDspData&) = default;
};

using DspRows = QList<myDspData>;

} // namespace fennick
