<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>DialogAbout</name>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>ORLO</source>
        <translation>ORLO</translation>
    </message>
    <message>
        <source>
Orlo Station</source>
        <translation>
Orlo Station</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogCard</name>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Start Time</source>
        <translation>Startzeit</translation>
    </message>
    <message>
        <source>Stop Time</source>
        <translation>Endzeit</translation>
    </message>
    <message>
        <source>Bus Type</source>
        <translation>Bustyp</translation>
    </message>
    <message>
        <source>ECU Serial Number</source>
        <translation>ECU-Seriennummer</translation>
    </message>
    <message>
        <source>Software Part Nr. A</source>
        <translation>Software-Teilenr. A</translation>
    </message>
    <message>
        <source>Software Part Nr. B</source>
        <translation>Software-Teilenr. B</translation>
    </message>
    <message>
        <source>ECU Type</source>
        <translation>ECU-Typ</translation>
    </message>
    <message>
        <source>EMU SW Version</source>
        <translation>EMU-SW-Version</translation>
    </message>
    <message>
        <source>Engine Serial Nr.</source>
        <translation>Motor-Seriennr.</translation>
    </message>
    <message>
        <source>Engine Type</source>
        <translation>Motortyp</translation>
    </message>
    <message>
        <source>Samples Total</source>
        <translation>Messwerte gesamt</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogData</name>
    <message>
        <source>Data</source>
        <translation>Daten</translation>
    </message>
    <message>
        <source>Limit/Warning Exceed</source>
        <translation>Grenzwert-/Warnungsüberschreitung</translation>
    </message>
    <message>
        <source>Graph</source>
        <translation>Grafik</translation>
    </message>
    <message>
        <source>Offset:</source>
        <translation>Versatz:</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogDataGraph</name>
    <message>
        <source>Zoom In</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Zoom 1:1</source>
        <translation>Zoom 1:1</translation>
    </message>
    <message>
        <source>Zoom Marker</source>
        <translation>Auf Marker zoomen</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Alles löschen</translation>
    </message>
    <message>
        <source>Automatic Mode</source>
        <translation>Automatikmodus</translation>
    </message>
    <message>
        <source>Split Mode</source>
        <translation>Geteilte Darstellung</translation>
    </message>
    <message>
        <source>Single Graph Mode</source>
        <translation>Einzelgrafik</translation>
    </message>
    <message>
        <source>Reset all to default</source>
        <translation>Alles auf Standard zurücksetzen</translation>
    </message>
    <message>
        <source>Setup</source>
        <translation>Einrichten</translation>
    </message>
    <message>
        <source>Snapshot</source>
        <translation>Schnappschuss</translation>
    </message>
    <message>
        <source>Save Snapshot</source>
        <translation>Schnappschuss speichern</translation>
    </message>
    <message>
        <source>BMP File (*.bmp);;All Files (*.*)</source>
        <translation>BMP-Datei (*.bmp);;Alle Dateien (*.*)</translation>
    </message>
    <message>
        <source>Saving the snapshot failed !
%1</source>
        <translation>Der Schnappschuss konnte nicht gespeichert werden!
%1</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogDataLimit</name>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Warning/Limit Exceed</source>
        <translation>Warnungs-/Grenzwertüberschreitung</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogDataTable</name>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogDataWarning</name>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Warning Lamps</source>
        <translation>Warnleuchten</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportCsv</name>
    <message>
        <source>CSV Export</source>
        <translation>CSV-Export</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportCsvOptions</name>
    <message>
        <source>CSV/CAN Export</source>
        <translation>CSV/CAN-Export</translation>
    </message>
    <message>
        <source>Select CSV/CAN Option</source>
        <translation>CSV/CAN-Optionen wählen</translation>
    </message>
    <message>
        <source>Semikolon ;</source>
        <translation>Semikolon ;</translation>
    </message>
    <message>
        <source>Comma ,</source>
        <translation>Komma ,</translation>
    </message>
    <message>
        <source>Tabstop</source>
        <translation>Tabulator</translation>
    </message>
    <message>
        <source>100 ms</source>
        <translation>100 ms</translation>
    </message>
    <message>
        <source>10 ms</source>
        <translation>10 ms</translation>
    </message>
    <message>
        <source>1 ms</source>
        <translation>1 ms</translation>
    </message>
    <message>
        <source>All Parameter</source>
        <translation>Alle Parameter</translation>
    </message>
    <message>
        <source>Selected Parameter only</source>
        <translation>Nur ausgewählte Parameter</translation>
    </message>
    <message>
        <source>Limiter</source>
        <translation>Trennzeichen</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>Auflösung</translation>
    </message>
    <message>
        <source>Parameter Selection</source>
        <translation>Parameterauswahl</translation>
    </message>
    <message>
        <source>Start/Stop Time</source>
        <translation>Start-/Endzeit</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportCsvPath</name>
    <message>
        <source>Save CSV/CAN Export</source>
        <translation>CSV/CAN-Export speichern</translation>
    </message>
    <message>
        <source>CSV/CAN Export</source>
        <translation>CSV/CAN-Export</translation>
    </message>
    <message>
        <source>Select the output directory and file</source>
        <translation>Zielordner und Datei wählen</translation>
    </message>
    <message>
        <source>Export Type</source>
        <translation>Exporttyp</translation>
    </message>
    <message>
        <source>Export Path</source>
        <translation>Exportpfad</translation>
    </message>
    <message>
        <source>Export Filename</source>
        <translation>Exportdateiname</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportKml</name>
    <message>
        <source>Google Earth KML Export</source>
        <translation>Google-Earth-KML-Export</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportKmlOptions</name>
    <message>
        <source>KML Export</source>
        <translation>KML-Export</translation>
    </message>
    <message>
        <source>Select KML Option</source>
        <translation>KML-Optionen wählen</translation>
    </message>
    <message>
        <source>Timestamp every :</source>
        <translation>Zeitstempel alle :</translation>
    </message>
    <message>
        <source>Line Style</source>
        <translation>Linienstil</translation>
    </message>
    <message>
        <source>Line width</source>
        <translation>Linienbreite</translation>
    </message>
    <message>
        <source>Line color</source>
        <translation>Linienfarbe</translation>
    </message>
    <message>
        <source>Draw Polygon</source>
        <translation>Polygon zeichnen</translation>
    </message>
    <message>
        <source>Polygon color</source>
        <translation>Polygonfarbe</translation>
    </message>
    <message>
        <source>Start/Stop Time</source>
        <translation>Start-/Endzeit</translation>
    </message>
    <message>
        <source>Select Line Color</source>
        <translation>Linienfarbe wählen</translation>
    </message>
    <message>
        <source>Select Polygon Color</source>
        <translation>Polygonfarbe wählen</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportKmlPath</name>
    <message>
        <source>Save KML Export</source>
        <translation>KML-Export speichern</translation>
    </message>
    <message>
        <source>KML Export</source>
        <translation>KML-Export</translation>
    </message>
    <message>
        <source>Select the output directory and file</source>
        <translation>Zielordner und Datei wählen</translation>
    </message>
    <message>
        <source>Export Path</source>
        <translation>Exportpfad</translation>
    </message>
    <message>
        <source>Export Filename</source>
        <translation>Exportdateiname</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportKmlPlacemark</name>
    <message>
        <source>KML Export</source>
        <translation>KML-Export</translation>
    </message>
    <message>
        <source>Select KML Placemarks</source>
        <translation>KML-Ortsmarken wählen</translation>
    </message>
    <message>
        <source>Draw selected parameters as placemarks</source>
        <translation>Ausgewählte Parameter als Ortsmarken zeichnen</translation>
    </message>
    <message>
        <source> samples</source>
        <translation> Messwerte</translation>
    </message>
    <message>
        <source>Placemark every</source>
        <translation>Ortsmarke alle</translation>
    </message>
    <message>
        <source>Placemark Color</source>
        <translation>Ortsmarkenfarbe</translation>
    </message>
    <message>
        <source>Show Limit exceedance / Warning Lamps</source>
        <translation>Grenzwertüberschreitungen / Warnleuchten anzeigen</translation>
    </message>
    <message>
        <source>Limit Exceedance</source>
        <translation>Grenzwertüberschreitung</translation>
    </message>
    <message>
        <source>Warning Lamps</source>
        <translation>Warnleuchten</translation>
    </message>
    <message>
        <source>Exceedance Placemark Color</source>
        <translation>Farbe der Überschreitungsmarken</translation>
    </message>
    <message>
        <source>Select Placemark Color</source>
        <translation>Ortsmarkenfarbe wählen</translation>
    </message>
    <message>
        <source>Select Exceedance Color</source>
        <translation>Überschreitungsfarbe wählen</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogGraphSetup</name>
    <message>
        <source>Oscilloscope Setup</source>
        <translation>Oszilloskop-Einstellungen</translation>
    </message>
    <message>
        <source>Grid On</source>
        <translation>Raster ein</translation>
    </message>
    <message>
        <source>Cursor On</source>
        <translation>Cursor ein</translation>
    </message>
    <message>
        <source>Floating</source>
        <translation>Frei</translation>
    </message>
    <message>
        <source>Center</source>
        <translation>Mitte</translation>
    </message>
    <message>
        <source>End</source>
        <translation>Ende</translation>
    </message>
    <message>
        <source>Legend On</source>
        <translation>Legende ein</translation>
    </message>
    <message>
        <source>Autoscale On</source>
        <translation>Autoskalierung ein</translation>
    </message>
    <message>
        <source>Background Color :</source>
        <translation>Hintergrundfarbe :</translation>
    </message>
    <message>
        <source>Grid On/Color :</source>
        <translation>Raster ein/Farbe :</translation>
    </message>
    <message>
        <source>Label Color :</source>
        <translation>Beschriftungsfarbe :</translation>
    </message>
    <message>
        <source>Label Background :</source>
        <translation>Beschriftungshintergrund :</translation>
    </message>
    <message>
        <source>Cursor On/Mode :</source>
        <translation>Cursor ein/Modus :</translation>
    </message>
    <message>
        <source>Legend :</source>
        <translation>Legende :</translation>
    </message>
    <message>
        <source>Y-Scale :</source>
        <translation>Y-Skala :</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Auswählen</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogMain</name>
    <message>
        <source>&amp;New Project</source>
        <translation>&amp;Neues Projekt</translation>
    </message>
    <message>
        <source>Ctrl+N</source>
        <translation>Ctrl+N</translation>
    </message>
    <message>
        <source>Create new Project</source>
        <translation>Neues Projekt anlegen</translation>
    </message>
    <message>
        <source>&amp;Open Project</source>
        <translation>Projekt ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>Open Project</source>
        <translation>Projekt öffnen</translation>
    </message>
    <message>
        <source>Open Project File</source>
        <translation>Projektdatei öffnen</translation>
    </message>
    <message>
        <source>&amp;Save Project</source>
        <translation>Projekt &amp;speichern</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>Save Project</source>
        <translation>Projekt speichern</translation>
    </message>
    <message>
        <source>Save Project File</source>
        <translation>Projektdatei speichern</translation>
    </message>
    <message>
        <source>&amp;Save Project as</source>
        <translation>Projekt speichern &amp;unter</translation>
    </message>
    <message>
        <source>Save Project as</source>
        <translation>Projekt speichern unter</translation>
    </message>
    <message>
        <source>Save Project File as</source>
        <translation>Projektdatei speichern unter</translation>
    </message>
    <message>
        <source>&amp;Open Card</source>
        <translation>&amp;Karte öffnen</translation>
    </message>
    <message>
        <source>Ctrl+C</source>
        <translation>Ctrl+C</translation>
    </message>
    <message>
        <source>Open Card</source>
        <translation>Karte öffnen</translation>
    </message>
    <message>
        <source>Open SD Card</source>
        <translation>SD-Karte öffnen</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Open Preferences Dialog</source>
        <translation>Einstellungsdialog öffnen</translation>
    </message>
    <message>
        <source>Export Google KML File</source>
        <translation>Google-KML-Datei exportieren</translation>
    </message>
    <message>
        <source>Export Google Earth KML File</source>
        <translation>Google-Earth-KML-Datei exportieren</translation>
    </message>
    <message>
        <source>Export CSV/CAN File</source>
        <translation>CSV/CAN-Datei exportieren</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>Quit Application</source>
        <translation>Anwendung beenden</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Show License Information</source>
        <translation>Lizenzinformationen anzeigen</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>F1</source>
        <translation>F1</translation>
    </message>
    <message>
        <source>Help Window</source>
        <translation>Hilfefenster</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Extras</source>
        <translation>&amp;Extras</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Main Toolbar</source>
        <translation>Hauptwerkzeugleiste</translation>
    </message>
    <message>
        <source>[edited]</source>
        <translation>[geändert]</translation>
    </message>
    <message>
        <source>KAVO Warning</source>
        <translation>KAVO-Warnung</translation>
    </message>
    <message>
        <source>Current Project not saved !
Save it now ?</source>
        <translation>Das aktuelle Projekt ist nicht gespeichert!
Jetzt speichern?</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Save KAVO Project</source>
        <translation>KAVO-Projekt speichern</translation>
    </message>
    <message>
        <source>Project Files (*.xml)</source>
        <translation>Projektdateien (*.xml)</translation>
    </message>
    <message>
        <source>Saving the project failed !
%1</source>
        <translation>Das Projekt konnte nicht gespeichert werden!
%1</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Open KAVO Project</source>
        <translation>KAVO-Projekt öffnen</translation>
    </message>
    <message>
        <source>Reading the project failed !
%1</source>
        <translation>Das Projekt konnte nicht gelesen werden!
%1</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>keine reguläre Datei</translation>
    </message>
    <message>
        <source>needs %1 of memory, %2 are available</source>
        <translation>benötigt %1 Speicher, %2 sind verfügbar</translation>
    </message>
    <message>
        <source>cannot be opened (%1)</source>
        <translation>kann nicht geöffnet werden (%1)</translation>
    </message>
    <message>
        <source>The settings could not be saved in
%1</source>
        <translation>Die Einstellungen konnten nicht gespeichert werden in
%1</translation>
    </message>
    <message>
        <source>The time offset could not be saved in
%1
It stays at %2 s.</source>
        <translation>Der Zeitversatz konnte nicht gespeichert werden in
%1
Er bleibt bei %2 s.</translation>
    </message>
    <message>
        <source>The time offset of %1 s in
%2
lies outside -10000 to 10000 s; 0 s is used.</source>
        <translation>Der Zeitversatz von %1 s in
%2
liegt außerhalb von -10000 bis 10000 s; es wird 0 s verwendet.</translation>
    </message>
    <message>
        <source>These files were not loaded:
%1</source>
        <translation>Diese Dateien wurden nicht geladen:
%1</translation>
    </message>
    <message>
        <source>The profile cannot be read:
%1
Line %2, column %3: %4</source>
        <translation>Das Profil kann nicht gelesen werden:
%1
Zeile %2, Spalte %3: %4</translation>
    </message>
    <message>
        <source>The profile cannot be read:
%1
%2</source>
        <translation>Das Profil kann nicht gelesen werden:
%1
%2</translation>
    </message>
    <message>
        <source>The CSV export needs %1 rows, at least %2, but only %3 are free for
%4
Nothing was written.</source>
        <translation>Der CSV-Export benötigt %1 Zeilen, mindestens %2, aber nur %3 sind frei für
%4
Es wurde nichts geschrieben.</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogPreferences</name>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Profile File :</source>
        <translation>Profildatei :</translation>
    </message>
    <message>
        <source>Language :</source>
        <translation>Sprache :</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>Profil</translation>
    </message>
    <message>
        <source>ORLO Profile (*.xml);;All files (*.*)</source>
        <translation>ORLO-Profil (*.xml);;Alle Dateien (*.*)</translation>
    </message>
    <message>
        <source>KAVO Info</source>
        <translation>KAVO-Info</translation>
    </message>
    <message>
        <source>Please restart KAVO to load new language !</source>
        <translation>Bitte KAVO neu starten, um die neue Sprache zu laden!</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogProfile</name>
    <message>
        <source>Selected Parameters</source>
        <translation>Ausgewählte Parameter</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Confirm Selection</source>
        <translation>Auswahl bestätigen</translation>
    </message>
</context>
</TS>
