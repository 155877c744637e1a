<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>DialogAbout</name>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>ORLO</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
Orlo Station</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KAVO::DialogCard</name>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bus Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ECU Serial Number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Software Part Nr. A</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Software Part Nr. B</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ECU Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>EMU SW Version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Engine Serial Nr.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Engine Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Samples Total</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KAVO::DialogData</name>
    <message>
        <source>Data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Limit/Warning Exceed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Graph</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Offset:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KAVO::DialogDataGraph</name>
    <message>
        <source>Zoom In</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom 1:1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom Marker</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Split Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Single Graph Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset all to default</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Snapshot</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Snapshot</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BMP File (*.bmp);;All Files (*.*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saving the snapshot failed !
%1</source>
        <translation>¡No se pudo guardar la instantánea!
%1</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Aceptar</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogDataLimit</name>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning/Limit Exceed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KAVO::DialogDataTable</name>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KAVO::DialogDataWarning</name>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning Lamps</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportCsv</name>
    <message>
        <source>CSV Export</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportCsvOptions</name>
    <message>
        <source>CSV/CAN Export</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select CSV/CAN Option</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Semikolon ;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comma ,</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tabstop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>100 ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>10 ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Parameter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Selected Parameter only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Limiter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parameter Selection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start/Stop Time</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportCsvPath</name>
    <message>
        <source>Save CSV/CAN Export</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV/CAN Export</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select the output directory and file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Filename</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportKml</name>
    <message>
        <source>Google Earth KML Export</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportKmlOptions</name>
    <message>
        <source>KML Export</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select KML Option</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Timestamp every :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line Style</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line width</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Draw Polygon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Polygon color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start/Stop Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Line Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Polygon Color</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportKmlPath</name>
    <message>
        <source>Save KML Export</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>KML Export</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select the output directory and file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Filename</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportKmlPlacemark</name>
    <message>
        <source>KML Export</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select KML Placemarks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Draw selected parameters as placemarks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> samples</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Placemark every</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Placemark Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Limit exceedance / Warning Lamps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Limit Exceedance</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning Lamps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exceedance Placemark Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Placemark Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Exceedance Color</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KAVO::DialogGraphSetup</name>
    <message>
        <source>Oscilloscope Setup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Grid On</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cursor On</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Floating</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Center</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>End</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Legend On</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Autoscale On</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Background Color :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Grid On/Color :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Label Color :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Label Background :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cursor On/Mode :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Legend :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y-Scale :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KAVO::DialogMain</name>
    <message>
        <source>&amp;New Project</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+N</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create new Project</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open Project</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Project</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Project File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save Project</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Project</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Project File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save Project as</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Project as</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Project File as</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open Card</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+C</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Card</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open SD Card</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Preferences Dialog</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Google KML File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Google Earth KML File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export CSV/CAN File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit Application</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show License Information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>F1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help Window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Extras</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Main Toolbar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[edited]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>KAVO Warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current Project not saved !
Save it now ?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save KAVO Project</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Project Files (*.xml)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saving the project failed !
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ok</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open KAVO Project</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading the project failed !
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>no es un archivo normal</translation>
    </message>
    <message>
        <source>needs %1 of memory, %2 are available</source>
        <translation>necesita %1 de memoria, hay %2 disponibles</translation>
    </message>
    <message>
        <source>cannot be opened (%1)</source>
        <translation>no se puede abrir (%1)</translation>
    </message>
    <message>
        <source>The settings could not be saved in
%1</source>
        <translation>No se pudo guardar la configuración en
%1</translation>
    </message>
    <message>
        <source>The time offset could not be saved in
%1
It stays at %2 s.</source>
        <translation>No se pudo guardar el desfase de tiempo en
%1
Se mantiene en %2 s.</translation>
    </message>
    <message>
        <source>The time offset of %1 s in
%2
lies outside -10000 to 10000 s; 0 s is used.</source>
        <translation>El desfase de tiempo de %1 s en
%2
está fuera del rango de -10000 a 10000 s; se usa 0 s.</translation>
    </message>
    <message>
        <source>These files were not loaded:
%1</source>
        <translation>Estos archivos no se cargaron:
%1</translation>
    </message>
    <message>
        <source>The profile cannot be read:
%1
Line %2, column %3: %4</source>
        <translation>No se puede leer el perfil:
%1
Línea %2, columna %3: %4</translation>
    </message>
    <message>
        <source>The profile cannot be read:
%1
%2</source>
        <translation>No se puede leer el perfil:
%1
%2</translation>
    </message>
    <message>
        <source>The CSV export needs %1 rows, at least %2, but only %3 are free for
%4
Nothing was written.</source>
        <translation>La exportación CSV necesita %1 filas, al menos %2, pero solo hay %3 libres para
%4
No se escribió nada.</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogPreferences</name>
    <message>
        <source>General</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Profile File :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ok</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Profile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ORLO Profile (*.xml);;All files (*.*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>KAVO Info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please restart KAVO to load new language !</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KAVO::DialogProfile</name>
    <message>
        <source>Selected Parameters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm Selection</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
