// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// IOTriggerWidget: the "Trigger IO" tab page. Its sections live in their own
// source files: iotriggerwidget.cpp (construction, form, streaming),
// iotriggerwidget_input.cpp (trigger input), iotriggerwidget_quickmodes.cpp,
// iotriggerwidget_outputs.cpp (output rows), iotriggerwidget_outputslots.cpp,
// iotriggerwidget_selectable.cpp and iotriggerwidget_dispatch.cpp.
#ifndef IOTRIGGERWIDGET_H
#define IOTRIGGERWIDGET_H

#include <basetabpluginwidget.h>

#include <QList>
#include <QSharedPointer>
#include <QStringList>
#include <QVector>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QSpacerItem;
class QSpinBox;
class QWidget;

struct QuickModeStep;
/// The steps of one quick mode on one camera variant.
struct QuickModeSequence
{
    const QuickModeStep *steps;
    int count;
};

/// The widgets of one output row; a null field was not created.
/// The record owns its widgets: they go with its last reference.
struct OutputLine
{
    QSharedPointer<QComboBox> ComboSource;
    QSharedPointer<QComboBox> ComboUserOutSel;
    QSharedPointer<QCheckBox> CBInvert;
    QSharedPointer<QCheckBox> CBStatus;
    QSharedPointer<QCheckBox> CBUserValue;
};

class IOTriggerWidget : public BaseTabPluginWidget
{
    Q_OBJECT

public:
    /// Throws TENotSupported (code 4) when the camera has no trigger I/O.
    IOTriggerWidget(const CameraFeatureList &features, QWidget *parent);
    ~IOTriggerWidget() override;

    void blockAllSignals(bool block);

    // Read access for tests and the host's diagnostics.
    const QStringList &observedFeatureNames() const { return ObservedFeatureNames; }
    const QStringList &changedFeatureList() const { return *ChangedFeatureList; }

private slots:
    void OnComboTriggerSourceChanged(const QString &value);
    void OnComboTriggerActivationChanged(const QString &value);
    void OnComboTriggerSelectorChanged(const QString &value);
    void OnComboAcquisitionModeChanged(const QString &value);
    void OnComboInputLineSelectorChanged(const QString &value);
    void OnCBLineRoutingChanged(int state);
    void OnComboOutSourceChanged(const QString &value);
    void OnComboExposureModeChanged(const QString &value);
    void OnComboExposureAutoChanged(const QString &value);
    void OnComboChanged(const QString &featureName, const QString &currentVal);
    void OnComboTriggerModeChanged(const QString &mode);
    void OnSWTrigger();
    void OnSpinAcquisitionFrameCountChanged(int value);
    void OnEdgeMode();
    void OnLevelMode();
    void OnBulkMode();
    void OnCBOutInvertChanged(int value);
    void OnCBOutStatusChanged(int value);
    void OnCBOutUserValueChanged1(int value);
    void OnCBOutUserValueChanged2(int value);
    void OnCBOutUserValueChanged3(int value);
    void OnCBOutUserValueChanged4(int value);
    void OnCBOutUserValueChanged5(int value);
    void OnComboOptionalOutChanged(const QString &value);

public slots:
    void camIsStreaming(bool streaming);

protected:
    void RefreshChangedFeatures() override;

private:
    // Form (iotriggerwidget.cpp)
    void setupForm();
    void setupOutputGroups();
    void retranslateForm();
    void loadTranslations();

    // Trigger input (iotriggerwidget_input.cpp)
    void createTriggerInput();
    void createTriggerControls();
    void layoutTriggerGroups();
    void fillTriggerControls();
    void connectTriggerControls();
    void updateTriggerSource();
    void updateAcquisitionFrameCount();
    void updateTriggerSelector();
    void updateInputLineSelector();
    QList<int> GetOutputLineIndices();
    void updateLineRouting();
    void updateExposureMode();
    void updateQuickModeButtons(bool disable);
    void selectComboEntry(const QString &text, QComboBox *box);

    // Quick modes (iotriggerwidget_quickmodes.cpp)
    QString GetFirstInputLine();
    bool runEdgeMode();
    bool runQuickMode(void (IOTriggerWidget::*opening)(), const QuickModeSequence &steps,
                      void (IOTriggerWidget::*closing)());
    QuickModeSequence quickModeVariant(const QuickModeSequence &lineRouting, const QuickModeSequence &exposureAuto,
                                       const QuickModeSequence &exposureMode) const;
    QComboBox *quickModeBox(int box) const;
    bool runStep(const QuickModeStep &step);
    bool selectStep(QComboBox *box, const QString &entry);
    bool walkTriggerSelectorsOff();
    bool processEventsAlive();
    bool waitAlive(int milliseconds);
    void openEdgeOrBulk();
    void openLevel();
    void closeEdgeOrBulk();
    void closeLevel();
    void endOfQuickMode();
    bool quickModeRunning() const { return m_nQuickModeDepth > 0; }

    // Keeping controls in line with the camera (iotriggerwidget_input.cpp)
    void refreshInputControl(QObject *control);
    void refreshTriggerDependents();
    bool writeBoxValue(const QString &featureName, const QString &value);
    bool reselectStanding(const char *selector);
    bool selectorShown(const char *selector, const QComboBox *box) const;
    bool triggerKnown() const;
    bool lineKnown() const;

    // Output lines (iotriggerwidget_outputs.cpp)
    int GetOutputs(QStringList &names);
    int GetSelectableOutputs(QStringList &names);
    void createOutputHeader();
    void createOutputLines();
    void updateOutSource();
    void updateOutInvert();
    void updateOutStatus();
    void updateOutLevels();
    void updateUserOutSelector();
    void updateUserOutValue();
    void fitToEntries(QComboBox *box);
    const char *outSourceFeature(bool outputSelector) const;
    void enableForSource(const OutputLine &line, bool outputSelector);
    void showInversion(const OutputLine &line, bool outputSelector);

    // Output slots (iotriggerwidget_outputslots.cpp)
    /// For a slot's whole run: the page's input signals blocked and, when
    /// Unobserved, its observers unregistered; undone in reverse when it goes.
    class QuietScope
    {
    public:
        enum Observers { Observed, Unobserved };
        QuietScope(IOTriggerWidget *page, Observers observers);
        ~QuietScope();
        QuietScope(const QuietScope &) = delete;
        QuietScope &operator=(const QuietScope &) = delete;

    private:
        IOTriggerWidget *m_pPage;
        Observers m_Observers;
    };
    void writeInversion(const OutputLine &line, bool outputSelector);
    void OnCBOutUserValueChanged(int row, int state);
    int writeUserOutValue(int row, int state);
    void showOutLevels(qint64 mask);

    // Selectable output (iotriggerwidget_selectable.cpp)
    void createOptionalOut();
    void updateOptionalOut();

    // Dispatch (iotriggerwidget_dispatch.cpp)
    void rebuildOutputLines();

    // Form members; their names are the form's object names.
    QGridLayout *gridLayout;
    QScrollArea *scrollArea;
    QWidget *scrollAreaWidgetContents;
    QGridLayout *gridLayout_2;
    QGroupBox *gb_Output;
    QGridLayout *gridLayout_3;
    QGridLayout *grid_Output;
    QGroupBox *gb_SelectOutput;
    QGridLayout *gridLayout_4;
    QGridLayout *grid_SelectableOut;
    QGroupBox *gb_TriggerInput;
    QGridLayout *gridLayout_5;
    QGridLayout *grid_TriggerInput;
    QSpacerItem *verticalSpacer;
    QLabel *l_notAcquireHint;

    bool m_bUserOutputSelector;
    int m_nSelectableOutputCount;
    // Quick modes running now: more than one while Bulk runs Edge inside it.
    int m_nQuickModeDepth;
    // Set by the selector slots when the camera refused the selection.
    bool m_bSelectionRefused;
    // Whether the selector boxes name the trigger and the line the camera
    // stands on; writes bound to a selector wait for it.
    bool m_bTriggerShown;
    bool m_bLineShown;

    QComboBox *m_pComboTriggerSource;
    QComboBox *m_pComboTriggerActivation;
    QComboBox *m_pComboTriggerSelector;
    QComboBox *m_pComboAcquisitionMode;
    QComboBox *m_pComboTriggerMode;
    QSpinBox *m_pSpinAcquisitionFrameCount;
    QCheckBox *m_pCBLineRouting;
    QComboBox *m_pComboInputLineSelector;
    QComboBox *m_pComboExposureMode;
    QComboBox *m_pComboExposureAuto;
    QPushButton *m_pButtonSWTrigger;
    QPushButton *m_pButtonEdge;
    QPushButton *m_pButtonLevel;
    QPushButton *m_pButtonBulk;
    QLabel *m_pLabelTriggerSource;
    QLabel *m_pLabelTriggerActivation;
    QLabel *m_pLabelTriggerSelector;
    QLabel *m_pLabelAcquisitionMode;
    QLabel *m_pLabelTriggerMode;
    QLabel *m_pLabelFrameCount;
    QLabel *m_pLabelLineRouting;
    QLabel *m_pLabelInputLineSelector;
    QLabel *m_pLabelExposureMode;
    QLabel *m_pLabelExposureAuto;
    QGridLayout *m_pGridTrigger;
    QGroupBox *m_pGroupTrigger;
    QGroupBox *m_pGroupAcquisition;
    QGroupBox *m_pGroupQuickSettings;

    QVector<QSharedPointer<OutputLine>> m_OutputLines;
    QVector<QWidget *> m_SelectableOutputWidgets;
    QLabel *m_pLabelOutSource;
    QLabel *m_pLabelOutInvert;
    QLabel *m_pLabelOutStatus;
    QLabel *m_pLabelUserOutSelector;
    QLabel *m_pLabelUserValue;
    QLabel *m_pLabelOutLine;
    QLineEdit *m_pEditOutLine;
    QVector<QWidget *> m_OutputWidgets;
    QStringList m_SelectableOutputNames;
    QList<int> m_LineRoutingList;
    QStringList m_OutputLineNames;

    friend class tst_IOTriggerWidget;
    friend class tst_TriggerInput;
    friend class tst_QuickModes;
    friend class tst_QuickModeTiming;
    friend class tst_OutputLines;
    friend class tst_Dispatch;
    friend class tst_Refusals;
    friend class PageBench;
};

#endif // IOTRIGGERWIDGET_H
