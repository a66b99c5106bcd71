// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The Trigger IO page on an Aravis camera, built by the viewer through the
// plug-in: quick modes and output rows, checked by reading back through Aravis.
#ifndef PAGECHECK_H
#define PAGECHECK_H

#include "aravistest.h"

#include <mainwindow.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QtTest>

namespace PageCheck {

/// The camera state each quick mode leaves on our fake description, whose
/// first input line is Line0.
inline void addQuickModeRows()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("expected");
    const QString frameTrigger = QStringLiteral(
        "TriggerSelector=FrameStart TriggerMode[AcquisitionStart]=Off TriggerMode[FrameStart]=On "
        "TriggerSource[FrameStart]=Line0 TriggerActivation[FrameStart]=FallingEdge AcquisitionMode=Continuous");
    QTest::newRow("Edge") << "Edge"
                          << "ExposureMode=Timed " + frameTrigger;
    QTest::newRow("Level") << "Level"
                           << "ExposureMode=TriggerWidth " + frameTrigger;
    QTest::newRow("Bulk") << "Bulk"
                          << "ExposureMode=Timed TriggerSelector=AcquisitionStart TriggerMode[AcquisitionStart]=On "
                             "TriggerMode[FrameStart]=Off TriggerActivation[AcquisitionStart]=FallingEdge "
                             "AcquisitionMode=MultiFrame AcquisitionFrameCount=10";
}

inline QWidget *page(MainWindow &window)
{
    return window.findChild<QWidget *>(QStringLiteral("IOTriggerWidget"));
}

/// Runs the mode as its button would.
inline bool runQuickMode(MainWindow &window, const QString &mode)
{
    const QByteArray slot = "On" + mode.toLatin1() + "Mode";
    return QMetaObject::invokeMethod(page(window), slot.constData(), Qt::DirectConnection);
}

/// Output rows: one per output line, Line2 and Line3 on our fake description.
inline void addOutputRows()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Line2 on UserOutput2")
        << 1 << "UserOutput2"
        << "LineSource[Line2]=UserOutput2 LineInverter[Line2]=true UserOutputValue[UserOutput2]=true "
           "LineInverter[Line3]=false UserOutputValue[UserOutput1]=false";
    QTest::newRow("Line3 on UserOutput3")
        << 2 << "UserOutput3"
        << "LineSource[Line3]=UserOutput3 LineInverter[Line3]=true UserOutputValue[UserOutput3]=true "
           "LineInverter[Line2]=false LineSource[Line2]=Off";
}

/// Chooses the row's line source, inverts it and sets its user output, each
/// through the row's control.
inline void driveOutputRow(MainWindow &window, int row, const QString &source)
{
    auto *grid = page(window)->findChild<QGridLayout *>(QStringLiteral("grid_Output"));
    QVERIFY(grid);
    auto widget = [grid, row](int column) {
        QLayoutItem *item = grid->itemAtPosition(row, column);
        return item ? item->widget() : nullptr;
    };
    auto *sourceBox = qobject_cast<QComboBox *>(widget(1));
    auto *invert = qobject_cast<QCheckBox *>(widget(2));
    auto *userValue = qobject_cast<QCheckBox *>(widget(5));
    QVERIFY(sourceBox && invert && userValue);
    QVERIFY(sourceBox->findText(source) >= 0);
    sourceBox->setCurrentIndex(sourceBox->findText(source));
    invert->setChecked(true);
    QTRY_VERIFY(userValue->isEnabled());
    userValue->setChecked(true);
}

} // namespace PageCheck

#endif // PAGECHECK_H
