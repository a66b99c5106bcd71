<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ElfObject</name>
    <message>
        <location filename="../elfobject.cpp" line="+49"/>
        <location line="+21"/>
        <source>cannot be read (%1)</source>
        <translation>nicht lesbar (%1)</translation>
    </message>
    <message>
        <location line="-15"/>
        <source>not an ELF shared library</source>
        <translation>keine gemeinsam genutzte ELF-Bibliothek</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>built for another kind of machine</source>
        <translation>für einen anderen Rechnertyp gebaut</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>not a shared library</source>
        <translation>keine gemeinsam genutzte Bibliothek</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>damaged: its program headers lie outside the file</source>
        <translation>beschädigt: ihre Programmköpfe liegen außerhalb der Datei</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>truncated: a segment ends at byte %1, past the end of the file (%2 bytes)</source>
        <translation>abgeschnitten: ein Segment endet bei Byte %1, hinter dem Ende der Datei (%2 Bytes)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>damaged: nothing in it can be loaded</source>
        <translation>beschädigt: nichts darin lässt sich laden</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>truncated: its section table ends past the end of the file (%1 bytes)</source>
        <translation>abgeschnitten: ihre Sektionstabelle endet hinter dem Ende der Datei (%1 Bytes)</translation>
    </message>
</context>
<context>
    <name>FeatureTableModel</name>
    <message>
        <location filename="../featuretablemodel.cpp" line="+72"/>
        <source>(raw data)</source>
        <translation>(Rohdaten)</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>(error %1)</source>
        <translation>(Fehler %1)</translation>
    </message>
    <message>
        <location line="+39"/>
        <source>Integer</source>
        <translation>Ganzzahl</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Float</source>
        <translation>Gleitkomma</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Enumeration</source>
        <translation>Aufzählung</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>String</source>
        <translation>Zeichenkette</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Boolean</source>
        <translation>Boolesch</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Command</source>
        <translation>Befehl</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Raw</source>
        <translation>Rohdaten</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>executable</source>
        <translation>ausführbar</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>not executable</source>
        <translation>nicht ausführbar</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>read/write</source>
        <translation>lesen/schreiben</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>read only</source>
        <translation>nur lesen</translation>
    </message>
    <message>
        <location line="+46"/>
        <source>Feature</source>
        <translation>Feature</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Access</source>
        <translation>Zugriff</translation>
    </message>
</context>
<context>
    <name>FrameConverter</name>
    <message>
        <location filename="../frameconverter.cpp" line="+69"/>
        <source>Pixel format %1 is not shown here</source>
        <translation>Das Pixelformat %1 wird hier nicht angezeigt</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1 frame of %2 x %3 with %4 bytes: too short</source>
        <translation>%1-Bild von %2 x %3 mit %4 Bytes: zu kurz</translation>
    </message>
</context>
<context>
    <name>ImageView</name>
    <message>
        <location filename="../imageview.cpp" line="+39"/>
        <source>No frame yet: start acquisition (F5)</source>
        <translation>Noch kein Bild: Aufnahme starten (F5)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>No camera open</source>
        <translation>Keine Kamera geöffnet</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>Frame %1: %2</source>
        <translation>Bild %1: %2</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Frame %1  %2x%3 %4  at %5 s</source>
        <translation>Bild %1  %2x%3 %4  bei %5 s</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Camera timestamp: %1 ns</source>
        <translation>Zeitstempel der Kamera: %1 ns</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../mainwindow.cpp" line="+61"/>
        <source>%1, line %2: %3</source>
        <translation>%1, Zeile %2: %3</translation>
    </message>
    <message>
        <location line="+21"/>
        <location line="+263"/>
        <source>Orvik Viewer</source>
        <translation>Orvik Viewer</translation>
    </message>
    <message>
        <location line="-261"/>
        <source>Camera</source>
        <translation>Kamera</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Camera:</source>
        <translation>Kamera:</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Open File…</source>
        <translation>Datei öffnen…</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Open a camera description (%1)</source>
        <translation>Eine Kamerabeschreibung öffnen (%1)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Find Cameras</source>
        <translation>Kameras suchen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Look for GigE Vision and USB3 Vision cameras on this computer&apos;s networks and buses</source>
        <translation>In den Netzwerken und an den Bussen dieses Rechners nach GigE-Vision- und USB3-Vision-Kameras suchen</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+327"/>
        <source>Start Acquisition</source>
        <translation>Aufnahme starten</translation>
    </message>
    <message>
        <location line="-323"/>
        <source>Start or stop acquisition (F5); the pages follow it</source>
        <translation>Aufnahme starten oder stoppen (F5); die Seiten folgen ihr</translation>
    </message>
    <message>
        <location line="+55"/>
        <source>Filter features by name</source>
        <translation>Features nach Namen filtern</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Features</source>
        <translation>Features</translation>
    </message>
    <message>
        <location line="-63"/>
        <source>Simulator</source>
        <translation>Simulator</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Image</source>
        <translation>Bild</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Signals</source>
        <translation>Signale</translation>
    </message>
    <message>
        <location line="+102"/>
        <source>Finding cameras failed: %1</source>
        <translation>Die Kamerasuche ist fehlgeschlagen: %1</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Found 1 camera</source>
        <translation>1 Kamera gefunden</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Found %1 cameras</source>
        <translation>%1 Kameras gefunden</translation>
    </message>
    <message>
        <location line="+85"/>
        <source>%1 - Orvik Viewer</source>
        <translation>%1 - Orvik Viewer</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>&quot;%1&quot; failed for this camera: %2</source>
        <translation>„%1“ ist für diese Kamera fehlgeschlagen: %2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&quot;%1&quot; failed for this camera</source>
        <translation>„%1“ ist für diese Kamera fehlgeschlagen</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&quot;%1&quot; is not available for this camera (code %2)</source>
        <translation>„%1“ ist für diese Kamera nicht verfügbar (Code %2)</translation>
    </message>
    <message>
        <location line="+48"/>
        <source>%1 failed (error %2)</source>
        <translation>%1 ist fehlgeschlagen (Fehler %2)</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Stop Acquisition</source>
        <translation>Aufnahme stoppen</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>%1 fps</source>
        <translation>%1 fps</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Frames: %1</source>
        <translation>Bilder: %1</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Missed triggers: %1</source>
        <translation>Verpasste Trigger: %1</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>only a simulated camera&apos;s lines can be driven</source>
        <translation>nur die Leitungen einer simulierten Kamera lassen sich ansteuern</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>the camera has no line %1</source>
        <translation>die Kamera hat keine Leitung %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 is an output</source>
        <translation>%1 ist ein Ausgang</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>a pulse needs 0 &lt; width &lt; period</source>
        <translation>ein Puls braucht 0 &lt; Breite &lt; Periode</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Open Camera Description</source>
        <translation>Kamerabeschreibung öffnen</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Cameras (*.json)</source>
        <translation>Kameras (*.json)</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Cannot open the camera: %1</source>
        <translation>Die Kamera lässt sich nicht öffnen: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Cannot Open Camera</source>
        <translation>Kamera lässt sich nicht öffnen</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>The camera refused %1 (error %2)</source>
        <translation>Die Kamera hat %1 abgelehnt (Fehler %2)</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>Execute</source>
        <translation>Ausführen</translation>
    </message>
</context>
<context>
    <name>PluginHost</name>
    <message>
        <location filename="../pluginhost.cpp" line="+70"/>
        <source>no plug-in verification data (%1)</source>
        <translation>keine Plug-in-Prüfdaten (%1)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>its verification data is not a function</source>
        <translation>seine Prüfdaten sind keine Funktion</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>no plug-in verification data</source>
        <translation>keine Plug-in-Prüfdaten</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>its verification function failed: %1</source>
        <translation>seine Prüffunktion ist fehlgeschlagen: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>its verification function failed</source>
        <translation>seine Prüffunktion ist fehlgeschlagen</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>not a Qt plug-in (%1)</source>
        <translation>kein Qt-Plug-in (%1)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>a plug-in for &quot;%1&quot;, not a tab extension</source>
        <translation>ein Plug-in für „%1“, keine Reitererweiterung</translation>
    </message>
    <message>
        <location line="+14"/>
        <location line="+6"/>
        <location line="+6"/>
        <location line="+10"/>
        <source>%1 skipped: %2</source>
        <translation>%1 übersprungen: %2</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>%1 skipped: not a tab extension</source>
        <translation>%1 übersprungen: keine Reitererweiterung</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>%1 does not follow the acquisition state</source>
        <translation>%1 folgt dem Aufnahmezustand nicht</translation>
    </message>
</context>
<context>
    <name>SignalsPanel</name>
    <message>
        <location filename="../signalspanel.cpp" line="+38"/>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Stop following the present; events keep being recorded</source>
        <translation>Nicht mehr der Gegenwart folgen; Ereignisse werden weiter aufgezeichnet</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Zoom In</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Show half the time (or turn the wheel over the strip)</source>
        <translation>Die halbe Zeitspanne zeigen (oder das Mausrad über dem Streifen drehen)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Zoom Out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Show twice the time</source>
        <translation>Die doppelte Zeitspanne zeigen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Forget the events recorded so far</source>
        <translation>Die bisher aufgezeichneten Ereignisse verwerfen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Click: cursor A, right-click: cursor B, drag: move, wheel: zoom</source>
        <translation>Klick: Cursor A, Rechtsklick: Cursor B, Ziehen: verschieben, Mausrad: zoomen</translation>
    </message>
    <message>
        <location line="+54"/>
        <source>No camera open.</source>
        <translation>Keine Kamera geöffnet.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>This camera reports no signal events.</source>
        <translation>Diese Kamera meldet keine Signalereignisse.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Frames are shown as they arrive from the stream. Line levels are read from %1 every %2 ms, so pulses shorter than that can pass unseen, and edges show up to %2 ms late; triggers and exposures are not reported by this camera.</source>
        <translation>Bilder erscheinen, wie sie aus dem Datenstrom ankommen. Die Leitungspegel werden alle %2 ms aus %1 gelesen, daher können kürzere Pulse unbemerkt bleiben und Flanken bis zu %2 ms verspätet erscheinen; Trigger und Belichtungen meldet diese Kamera nicht.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Frames are shown as they arrive from the stream; this camera has no line status to read.</source>
        <translation>Bilder erscheinen, wie sie aus dem Datenstrom ankommen; diese Kamera hat keinen Leitungsstatus, der sich lesen ließe.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Simulated camera: every edge, trigger and exposure as its timing model made them.</source>
        <translation>Simulierte Kamera: jede Flanke, jeder Trigger und jede Belichtung so, wie ihr Zeitmodell sie erzeugt hat.</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>1 event was lost before it could be read</source>
        <translation>1 Ereignis ging verloren, bevor es gelesen werden konnte</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 events were lost before they could be read</source>
        <translation>%1 Ereignisse gingen verloren, bevor sie gelesen werden konnten</translation>
    </message>
</context>
<context>
    <name>SignalsView</name>
    <message>
        <location filename="../signalsview.cpp" line="+82"/>
        <source>%1 (in)</source>
        <translation>%1 (Eingang)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 trigger</source>
        <translation>%1-Trigger</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Acquisition active</source>
        <translation>Aufnahme aktiv</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Exposure</source>
        <translation>Belichtung</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Frames</source>
        <translation>Bilder</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 (out)</source>
        <translation>%1 (Ausgang)</translation>
    </message>
    <message>
        <location line="+73"/>
        <source>This camera reports no signal events.</source>
        <translation>Diese Kamera meldet keine Signalereignisse.</translation>
    </message>
    <message>
        <location line="+145"/>
        <source>events lost</source>
        <translation>Ereignisse verloren</translation>
    </message>
</context>
<context>
    <name>SimulatorPanel</name>
    <message>
        <location filename="../simulatorpanel.cpp" line="+55"/>
        <source>Input lines</source>
        <translation>Eingangsleitungen</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>High</source>
        <translation>High</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>This camera has no input lines.</source>
        <translation>Diese Kamera hat keine Eingangsleitungen.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>How long a pulse takes the line to the other level</source>
        <translation>Wie lange ein Puls die Leitung auf den anderen Pegel legt</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Pulse</source>
        <translation>Puls</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>One pulse now: the line goes to the other level and back</source>
        <translation>Jetzt ein Puls: die Leitung wechselt auf den anderen Pegel und zurück</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>From the start of one pulse to the start of the next</source>
        <translation>Vom Beginn eines Pulses bis zum Beginn des nächsten</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>endless</source>
        <translation>endlos</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>pulses</source>
        <translation>Pulse</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Start Train</source>
        <translation>Pulsfolge starten</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>End the pulse train; the line returns to the level it started from</source>
        <translation>Die Pulsfolge beenden; die Leitung kehrt auf ihren Anfangspegel zurück</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Width:</source>
        <translation>Breite:</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Every:</source>
        <translation>Alle:</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>Change from the camera side</source>
        <translation>Änderung von der Kameraseite</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>selected entry</source>
        <translation>ausgewählter Eintrag</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Apply</source>
        <translation>Anwenden</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Feature:</source>
        <translation>Feature:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>For entry:</source>
        <translation>Für Eintrag:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Value:</source>
        <translation>Wert:</translation>
    </message>
    <message>
        <location line="+74"/>
        <source>A pulse train needs a width shorter than its period</source>
        <translation>Eine Pulsfolge braucht eine Breite, die kürzer als ihre Periode ist</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The camera refused to drive %1 (error %2)</source>
        <translation>Die Kamera hat das Ansteuern von %1 abgelehnt (Fehler %2)</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>A %1 ms pulse on %2</source>
        <translation>Ein Puls von %1 ms auf %2</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Endless pulses of %1 ms every %2 ms on %3</source>
        <translation>Endlos Pulse von %1 ms alle %2 ms auf %3</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>1 pulse of %1 ms every %2 ms on %3</source>
        <translation>1 Puls von %1 ms alle %2 ms auf %3</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 pulses of %2 ms every %3 ms on %4</source>
        <translation>%1 Pulse von %2 ms alle %3 ms auf %4</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>%1 holds high</source>
        <translation>%1 bleibt auf High</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>%1 holds low</source>
        <translation>%1 bleibt auf Low</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>%1 is now high</source>
        <translation>%1 ist jetzt High</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>%1 is now low</source>
        <translation>%1 ist jetzt Low</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>The camera refused %1 = %2 (error %3)</source>
        <translation>Die Kamera hat %1 = %2 abgelehnt (Fehler %3)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The camera set %1 = %2</source>
        <translation>Die Kamera hat %1 = %2 gesetzt</translation>
    </message>
</context>
<context>
    <name>ViewerOptions</name>
    <message>
        <location filename="../vieweroptions.cpp" line="+18"/>
        <source>Show this text and exit.</source>
        <translation>Diesen Text zeigen und beenden.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Show the version and exit.</source>
        <translation>Die Version zeigen und beenden.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Open this camera: a name from the cameras folder (such as syncout), a camera description file, or aravis:ID for a GenICam camera by its device id, address or serial (aravis:Aravis-Fake-ORV01 is Aravis&apos;s in-process fake camera). Default: exposure-mode.</source>
        <translation>Diese Kamera öffnen: ein Name aus dem Kameraordner (etwa syncout), eine Kamerabeschreibungsdatei oder aravis:ID für eine GenICam-Kamera nach Gerätekennung, Adresse oder Seriennummer (aravis:Aravis-Fake-ORV01 ist die prozessinterne Testkamera von Aravis). Vorgabe: exposure-mode.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>camera</source>
        <translation>Kamera</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Look for GigE Vision and USB3 Vision cameras (this broadcasts on the local networks) and offer them in the camera box.</source>
        <translation>Nach GigE-Vision- und USB3-Vision-Kameras suchen (per Broadcast in die lokalen Netzwerke) und sie in der Kameraauswahl anbieten.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Show this tab first: a caption or a plug-in&apos;s name.</source>
        <translation>Diesen Reiter zuerst zeigen: seine Beschriftung oder den Namen eines Plug-ins.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>caption</source>
        <translation>Beschriftung</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Run in this locale, such as de_DE for German texts.</source>
        <translation>In diesem Gebietsschema laufen, etwa de_DE für deutsche Texte.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>name</source>
        <translation>Name</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Click the button with this text on the tab shown, such as --tab &quot;Trigger IO&quot; --click Edge.</source>
        <translation>Die Schaltfläche mit diesem Text auf dem gezeigten Reiter anklicken, etwa --tab &quot;Trigger-E/A&quot; --click Flanke.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>text</source>
        <translation>Text</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Start acquisition once the camera is open.</source>
        <translation>Die Aufnahme starten, sobald die Kamera geöffnet ist.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Each access to a simulated camera takes this many milliseconds, as on a network link (such as 0.5).</source>
        <translation>Jeder Zugriff auf eine simulierte Kamera dauert so viele Millisekunden wie über eine Netzwerkverbindung (etwa 0.5).</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+12"/>
        <source>ms</source>
        <translation>ms</translation>
    </message>
    <message>
        <location line="-10"/>
        <source>Drive a simulated camera&apos;s input line with pulses: LINE:PERIOD:WIDTH[:COUNT] in milliseconds, COUNT 0 or none for endless, such as Line0:100:20:50.</source>
        <translation>Die Eingangsleitung einer simulierten Kamera mit Pulsen ansteuern: LEITUNG:PERIODE:BREITE[:ANZAHL] in Millisekunden, ANZAHL 0 oder keine für endlos, etwa Line0:100:20:50.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>train</source>
        <translation>Pulsfolge</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Save a PNG picture of the window to this file and exit.</source>
        <translation>Ein PNG-Bild des Fensters in diese Datei speichern und beenden.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>file</source>
        <translation>Datei</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Let the camera run this long before the screenshot (default: 1200).</source>
        <translation>Die Kamera vor dem Bildschirmfoto so lange laufen lassen (Vorgabe: 1200).</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Print the tab captions and exit.</source>
        <translation>Die Beschriftungen der Reiter ausgeben und beenden.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>A camera viewer whose tab pages come from plug-ins, such as the Trigger IO page.</source>
        <translation>Ein Kamerabetrachter, dessen Reiterseiten aus Plug-ins kommen, etwa die Trigger-E/A-Seite.</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>--%1 needs a value</source>
        <translation>--%1 braucht einen Wert</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>unexpected argument: %1</source>
        <translation>unerwartetes Argument: %1</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>--link-latency takes milliseconds from 0 to 10000, not &quot;%1&quot;</source>
        <translation>--link-latency nimmt Millisekunden von 0 bis 10000, nicht „%1“</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>--pulse-train takes LINE:PERIOD:WIDTH[:COUNT] in milliseconds, 0 &lt; WIDTH &lt; PERIOD, such as Line0:100:20:50</source>
        <translation>--pulse-train nimmt LEITUNG:PERIODE:BREITE[:ANZAHL] in Millisekunden, 0 &lt; BREITE &lt; PERIODE, etwa Line0:100:20:50</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>--wait takes milliseconds, such as 3000</source>
        <translation>--wait nimmt Millisekunden, etwa 3000</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <location filename="../main.cpp" line="+123"/>
        <source>cannot open the camera: %1</source>
        <translation>die Kamera lässt sich nicht öffnen: %1</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>no tab &quot;%1&quot;; the tabs are: %2</source>
        <translation>kein Reiter „%1“; die Reiter sind: %2</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>no button &quot;%1&quot; to click on the tab shown</source>
        <translation>keine Schaltfläche „%1“ zum Anklicken auf dem gezeigten Reiter</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>cannot drive %1: %2</source>
        <translation>%1 lässt sich nicht ansteuern: %2</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>cannot write %1</source>
        <translation>%1 lässt sich nicht schreiben</translation>
    </message>
</context>
</TS>
