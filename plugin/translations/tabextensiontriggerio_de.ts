<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>IOTriggerWidget</name>
    <message>
        <location filename="../../triggerio/iotriggerwidget.cpp" line="+111"/>
        <source>Trigger IO</source>
        <translation>Trigger-E/A</translation>
    </message>
    <message>
        <location line="+216"/>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Output</source>
        <translation>Ausgänge</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Selectable Output</source>
        <translation>Umschaltbare Ausgänge</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Trigger - Input</source>
        <translation>Trigger - Eingang</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Full Input configuration only if camera is not acquiring!</source>
        <translation>Vollständige Eingangskonfiguration nur, wenn die Kamera nicht aufnimmt!</translation>
    </message>
    <message>
        <location filename="../../triggerio/iotriggerwidget_input.cpp" line="+87"/>
        <source>Source:</source>
        <translation>Quelle:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Activ.:</source>
        <translation>Aktiv.:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Selector:</source>
        <translation>Auswahl:</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+11"/>
        <source>Mode:</source>
        <translation>Modus:</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>FrameCount:</source>
        <translation>Bildanzahl:</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Line Sel.:</source>
        <translation>Leitung:</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Rout.:</source>
        <translation>Weiterl.:</translation>
    </message>
    <message>
        <location line="-12"/>
        <source>SW Trigger</source>
        <translation>SW-Trigger</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Edge</source>
        <translation>Flanke</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Level</source>
        <translation>Pegel</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Bulk</source>
        <translation>Serie</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Trigger</source>
        <translation>Trigger</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>Acquisition</source>
        <translation>Aufnahme</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Quick Settings: Trigger Mode</source>
        <translation>Schnelleinstellung: Triggermodus</translation>
    </message>
    <message>
        <location filename="../../triggerio/iotriggerwidget_outputs.cpp" line="+101"/>
        <location filename="../../triggerio/iotriggerwidget_selectable.cpp" line="+29"/>
        <source>Polarity:</source>
        <translation>Polarität:</translation>
    </message>
    <message>
        <location line="+0"/>
        <location filename="../../triggerio/iotriggerwidget_selectable.cpp" line="+0"/>
        <source>Invert:</source>
        <translation>Invertiert:</translation>
    </message>
    <message>
        <location line="+1"/>
        <location filename="../../triggerio/iotriggerwidget_selectable.cpp" line="+1"/>
        <source>Status:</source>
        <translation>Status:</translation>
    </message>
    <message>
        <location line="+3"/>
        <location filename="../../triggerio/iotriggerwidget_selectable.cpp" line="+0"/>
        <source>UserOutSel.:</source>
        <translation>Benutzerausg.:</translation>
    </message>
    <message>
        <location line="+1"/>
        <location filename="../../triggerio/iotriggerwidget_selectable.cpp" line="+1"/>
        <source>User Value:</source>
        <translation>Benutzerwert:</translation>
    </message>
    <message>
        <location line="+92"/>
        <source>LineOutLevels</source>
        <translation>Ausgangspegel</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>SyncLevels:</source>
        <translation>Sync-Pegel:</translation>
    </message>
    <message>
        <location filename="../../triggerio/iotriggerwidget_selectable.cpp" line="-10"/>
        <source>LineOutSource:</source>
        <translation>Ausgangsquelle:</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>SyncOutSource:</source>
        <translation>Sync-Ausgangsquelle:</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>LineSource:</source>
        <translation>Leitungsquelle:</translation>
    </message>
</context>
</TS>
