#pragma once

#include "tools/demo/DemoRecording.h"

#include <QDir>
#include <QFile>
#include <QString>

// The benchmarks' three-minute demo drive with a braking event, written once
// and kept in the temporary folder for later runs (delete it to write it anew).
inline const QString& benchRecording()
{
    static const QString path = [] {
        const QString p = QDir::tempPath() + "/kvr-bench-3min-v1.DAT";
        if (!QFile::exists(p)) {
            DemoDrivePlan plan;
            plan.seconds = 180;
            plan.brakingAtSecond = 90;
            writeDemoRecording(p + ".part", plan);
            QFile::rename(p + ".part", p);
        }
        return p;
    }();
    return path;
}
