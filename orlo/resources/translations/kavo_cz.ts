<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="cs_CZ">
<context>
    <name>DialogAbout</name>
    <message>
        <source>Close</source>
        <translation>Zavřít</translation>
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
        <translation>Čas začátku</translation>
    </message>
    <message>
        <source>Stop Time</source>
        <translation>Čas konce</translation>
    </message>
    <message>
        <source>Bus Type</source>
        <translation>Typ sběrnice</translation>
    </message>
    <message>
        <source>ECU Serial Number</source>
        <translation>Výrobní číslo ECU</translation>
    </message>
    <message>
        <source>Software Part Nr. A</source>
        <translation>Číslo dílu softwaru A</translation>
    </message>
    <message>
        <source>Software Part Nr. B</source>
        <translation>Číslo dílu softwaru B</translation>
    </message>
    <message>
        <source>ECU Type</source>
        <translation>Typ ECU</translation>
    </message>
    <message>
        <source>EMU SW Version</source>
        <translation>Verze SW EMU</translation>
    </message>
    <message>
        <source>Engine Serial Nr.</source>
        <translation>Výrobní č. motoru</translation>
    </message>
    <message>
        <source>Engine Type</source>
        <translation>Typ motoru</translation>
    </message>
    <message>
        <source>Samples Total</source>
        <translation>Celkem vzorků</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogData</name>
    <message>
        <source>Data</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Limit/Warning Exceed</source>
        <translation>Překročení limitu/varování</translation>
    </message>
    <message>
        <source>Graph</source>
        <translation>Graf</translation>
    </message>
    <message>
        <source>Offset:</source>
        <translation>Posun:</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogDataGraph</name>
    <message>
        <source>Zoom In</source>
        <translation>Přiblížit</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Oddálit</translation>
    </message>
    <message>
        <source>Zoom 1:1</source>
        <translation>Měřítko 1:1</translation>
    </message>
    <message>
        <source>Zoom Marker</source>
        <translation>Přiblížit na značky</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Vymazat vše</translation>
    </message>
    <message>
        <source>Automatic Mode</source>
        <translation>Automatický režim</translation>
    </message>
    <message>
        <source>Split Mode</source>
        <translation>Rozdělený režim</translation>
    </message>
    <message>
        <source>Single Graph Mode</source>
        <translation>Režim jednoho grafu</translation>
    </message>
    <message>
        <source>Reset all to default</source>
        <translation>Obnovit vše na výchozí hodnoty</translation>
    </message>
    <message>
        <source>Setup</source>
        <translation>Nastavení</translation>
    </message>
    <message>
        <source>Snapshot</source>
        <translation>Snímek</translation>
    </message>
    <message>
        <source>Save Snapshot</source>
        <translation>Uložit snímek</translation>
    </message>
    <message>
        <source>BMP File (*.bmp);;All Files (*.*)</source>
        <translation>Soubor BMP (*.bmp);;Všechny soubory (*.*)</translation>
    </message>
    <message>
        <source>Saving the snapshot failed !
%1</source>
        <translation>Uložení snímku se nezdařilo!
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
        <translation>Čas</translation>
    </message>
    <message>
        <source>Warning/Limit Exceed</source>
        <translation>Překročení varování/limitu</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogDataTable</name>
    <message>
        <source>Time</source>
        <translation>Čas</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogDataWarning</name>
    <message>
        <source>Time</source>
        <translation>Čas</translation>
    </message>
    <message>
        <source>Warning Lamps</source>
        <translation>Varovné kontrolky</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportCsv</name>
    <message>
        <source>CSV Export</source>
        <translation>Export CSV</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportCsvOptions</name>
    <message>
        <source>CSV/CAN Export</source>
        <translation>Export CSV/CAN</translation>
    </message>
    <message>
        <source>Select CSV/CAN Option</source>
        <translation>Vyberte volby CSV/CAN</translation>
    </message>
    <message>
        <source>Semikolon ;</source>
        <translation>Středník ;</translation>
    </message>
    <message>
        <source>Comma ,</source>
        <translation>Čárka ,</translation>
    </message>
    <message>
        <source>Tabstop</source>
        <translation>Tabulátor</translation>
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
        <translation>Všechny parametry</translation>
    </message>
    <message>
        <source>Selected Parameter only</source>
        <translation>Pouze vybrané parametry</translation>
    </message>
    <message>
        <source>Limiter</source>
        <translation>Oddělovač</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>Rozlišení</translation>
    </message>
    <message>
        <source>Parameter Selection</source>
        <translation>Výběr parametrů</translation>
    </message>
    <message>
        <source>Start/Stop Time</source>
        <translation>Čas začátku/konce</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportCsvPath</name>
    <message>
        <source>Save CSV/CAN Export</source>
        <translation>Uložit export CSV/CAN</translation>
    </message>
    <message>
        <source>CSV/CAN Export</source>
        <translation>Export CSV/CAN</translation>
    </message>
    <message>
        <source>Select the output directory and file</source>
        <translation>Vyberte výstupní složku a soubor</translation>
    </message>
    <message>
        <source>Export Type</source>
        <translation>Typ exportu</translation>
    </message>
    <message>
        <source>Export Path</source>
        <translation>Cesta exportu</translation>
    </message>
    <message>
        <source>Export Filename</source>
        <translation>Název souboru exportu</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportKml</name>
    <message>
        <source>Google Earth KML Export</source>
        <translation>Export KML pro Google Earth</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportKmlOptions</name>
    <message>
        <source>KML Export</source>
        <translation>Export KML</translation>
    </message>
    <message>
        <source>Select KML Option</source>
        <translation>Vyberte volby KML</translation>
    </message>
    <message>
        <source>Timestamp every :</source>
        <translation>Časová značka každých :</translation>
    </message>
    <message>
        <source>Line Style</source>
        <translation>Styl čáry</translation>
    </message>
    <message>
        <source>Line width</source>
        <translation>Šířka čáry</translation>
    </message>
    <message>
        <source>Line color</source>
        <translation>Barva čáry</translation>
    </message>
    <message>
        <source>Draw Polygon</source>
        <translation>Kreslit polygon</translation>
    </message>
    <message>
        <source>Polygon color</source>
        <translation>Barva polygonu</translation>
    </message>
    <message>
        <source>Start/Stop Time</source>
        <translation>Čas začátku/konce</translation>
    </message>
    <message>
        <source>Select Line Color</source>
        <translation>Vyberte barvu čáry</translation>
    </message>
    <message>
        <source>Select Polygon Color</source>
        <translation>Vyberte barvu polygonu</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportKmlPath</name>
    <message>
        <source>Save KML Export</source>
        <translation>Uložit export KML</translation>
    </message>
    <message>
        <source>KML Export</source>
        <translation>Export KML</translation>
    </message>
    <message>
        <source>Select the output directory and file</source>
        <translation>Vyberte výstupní složku a soubor</translation>
    </message>
    <message>
        <source>Export Path</source>
        <translation>Cesta exportu</translation>
    </message>
    <message>
        <source>Export Filename</source>
        <translation>Název souboru exportu</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportKmlPlacemark</name>
    <message>
        <source>KML Export</source>
        <translation>Export KML</translation>
    </message>
    <message>
        <source>Select KML Placemarks</source>
        <translation>Vyberte značky míst KML</translation>
    </message>
    <message>
        <source>Draw selected parameters as placemarks</source>
        <translation>Kreslit vybrané parametry jako značky míst</translation>
    </message>
    <message>
        <source> samples</source>
        <translation> vzorků</translation>
    </message>
    <message>
        <source>Placemark every</source>
        <translation>Značka místa každých</translation>
    </message>
    <message>
        <source>Placemark Color</source>
        <translation>Barva značek míst</translation>
    </message>
    <message>
        <source>Show Limit exceedance / Warning Lamps</source>
        <translation>Zobrazit překročení limitů / varovné kontrolky</translation>
    </message>
    <message>
        <source>Limit Exceedance</source>
        <translation>Překročení limitu</translation>
    </message>
    <message>
        <source>Warning Lamps</source>
        <translation>Varovné kontrolky</translation>
    </message>
    <message>
        <source>Exceedance Placemark Color</source>
        <translation>Barva značek překročení</translation>
    </message>
    <message>
        <source>Select Placemark Color</source>
        <translation>Vyberte barvu značek míst</translation>
    </message>
    <message>
        <source>Select Exceedance Color</source>
        <translation>Vyberte barvu překročení</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogGraphSetup</name>
    <message>
        <source>Oscilloscope Setup</source>
        <translation>Nastavení osciloskopu</translation>
    </message>
    <message>
        <source>Grid On</source>
        <translation>Mřížka zapnuta</translation>
    </message>
    <message>
        <source>Cursor On</source>
        <translation>Kurzor zapnut</translation>
    </message>
    <message>
        <source>Floating</source>
        <translation>Volný</translation>
    </message>
    <message>
        <source>Center</source>
        <translation>Střed</translation>
    </message>
    <message>
        <source>End</source>
        <translation>Konec</translation>
    </message>
    <message>
        <source>Legend On</source>
        <translation>Legenda zapnuta</translation>
    </message>
    <message>
        <source>Autoscale On</source>
        <translation>Automatické měřítko zapnuto</translation>
    </message>
    <message>
        <source>Background Color :</source>
        <translation>Barva pozadí :</translation>
    </message>
    <message>
        <source>Grid On/Color :</source>
        <translation>Mřížka/barva :</translation>
    </message>
    <message>
        <source>Label Color :</source>
        <translation>Barva popisků :</translation>
    </message>
    <message>
        <source>Label Background :</source>
        <translation>Pozadí popisků :</translation>
    </message>
    <message>
        <source>Cursor On/Mode :</source>
        <translation>Kurzor/režim :</translation>
    </message>
    <message>
        <source>Legend :</source>
        <translation>Legenda :</translation>
    </message>
    <message>
        <source>Y-Scale :</source>
        <translation>Měřítko Y :</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Zavřít</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Vybrat</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogMain</name>
    <message>
        <source>&amp;New Project</source>
        <translation>&amp;Nový projekt</translation>
    </message>
    <message>
        <source>Ctrl+N</source>
        <translation>Ctrl+N</translation>
    </message>
    <message>
        <source>Create new Project</source>
        <translation>Vytvořit nový projekt</translation>
    </message>
    <message>
        <source>&amp;Open Project</source>
        <translation>&amp;Otevřít projekt</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>Open Project</source>
        <translation>Otevřít projekt</translation>
    </message>
    <message>
        <source>Open Project File</source>
        <translation>Otevřít soubor projektu</translation>
    </message>
    <message>
        <source>&amp;Save Project</source>
        <translation>&amp;Uložit projekt</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>Save Project</source>
        <translation>Uložit projekt</translation>
    </message>
    <message>
        <source>Save Project File</source>
        <translation>Uložit soubor projektu</translation>
    </message>
    <message>
        <source>&amp;Save Project as</source>
        <translation>Uložit projekt &amp;jako</translation>
    </message>
    <message>
        <source>Save Project as</source>
        <translation>Uložit projekt jako</translation>
    </message>
    <message>
        <source>Save Project File as</source>
        <translation>Uložit soubor projektu jako</translation>
    </message>
    <message>
        <source>&amp;Open Card</source>
        <translation>Otevřít ka&amp;rtu</translation>
    </message>
    <message>
        <source>Ctrl+C</source>
        <translation>Ctrl+C</translation>
    </message>
    <message>
        <source>Open Card</source>
        <translation>Otevřít kartu</translation>
    </message>
    <message>
        <source>Open SD Card</source>
        <translation>Otevřít kartu SD</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Předvolby</translation>
    </message>
    <message>
        <source>Open Preferences Dialog</source>
        <translation>Otevřít dialog předvoleb</translation>
    </message>
    <message>
        <source>Export Google KML File</source>
        <translation>Exportovat soubor Google KML</translation>
    </message>
    <message>
        <source>Export Google Earth KML File</source>
        <translation>Exportovat soubor KML pro Google Earth</translation>
    </message>
    <message>
        <source>Export CSV/CAN File</source>
        <translation>Exportovat soubor CSV/CAN</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Konec</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>Quit Application</source>
        <translation>Ukončit aplikaci</translation>
    </message>
    <message>
        <source>About</source>
        <translation>O aplikaci</translation>
    </message>
    <message>
        <source>Show License Information</source>
        <translation>Zobrazit licenční informace</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Nápověda</translation>
    </message>
    <message>
        <source>F1</source>
        <translation>F1</translation>
    </message>
    <message>
        <source>Help Window</source>
        <translation>Okno nápovědy</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Soubor</translation>
    </message>
    <message>
        <source>&amp;Extras</source>
        <translation>&amp;Nástroje</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Nápo&amp;věda</translation>
    </message>
    <message>
        <source>Main Toolbar</source>
        <translation>Hlavní panel nástrojů</translation>
    </message>
    <message>
        <source>[edited]</source>
        <translation>[upraveno]</translation>
    </message>
    <message>
        <source>KAVO Warning</source>
        <translation>Varování KAVO</translation>
    </message>
    <message>
        <source>Current Project not saved !
Save it now ?</source>
        <translation>Aktuální projekt není uložen!
Uložit jej nyní?</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ano</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Ne</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Zrušit</translation>
    </message>
    <message>
        <source>Save KAVO Project</source>
        <translation>Uložit projekt KAVO</translation>
    </message>
    <message>
        <source>Project Files (*.xml)</source>
        <translation>Soubory projektu (*.xml)</translation>
    </message>
    <message>
        <source>Saving the project failed !
%1</source>
        <translation>Uložení projektu se nezdařilo!
%1</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Open KAVO Project</source>
        <translation>Otevřít projekt KAVO</translation>
    </message>
    <message>
        <source>Reading the project failed !
%1</source>
        <translation>Načtení projektu se nezdařilo!
%1</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>není běžný soubor</translation>
    </message>
    <message>
        <source>needs %1 of memory, %2 are available</source>
        <translation>potřebuje %1 paměti, k dispozici je %2</translation>
    </message>
    <message>
        <source>cannot be opened (%1)</source>
        <translation>nelze otevřít (%1)</translation>
    </message>
    <message>
        <source>The settings could not be saved in
%1</source>
        <translation>Nastavení nelze uložit do
%1</translation>
    </message>
    <message>
        <source>The time offset could not be saved in
%1
It stays at %2 s.</source>
        <translation>Časový posun nelze uložit do
%1
Zůstává %2 s.</translation>
    </message>
    <message>
        <source>The time offset of %1 s in
%2
lies outside -10000 to 10000 s; 0 s is used.</source>
        <translation>Časový posun %1 s v
%2
je mimo rozsah -10000 až 10000 s; použije se 0 s.</translation>
    </message>
    <message>
        <source>These files were not loaded:
%1</source>
        <translation>Tyto soubory nebyly načteny:
%1</translation>
    </message>
    <message>
        <source>The profile cannot be read:
%1
Line %2, column %3: %4</source>
        <translation>Profil nelze načíst:
%1
Řádek %2, sloupec %3: %4</translation>
    </message>
    <message>
        <source>The profile cannot be read:
%1
%2</source>
        <translation>Profil nelze načíst:
%1
%2</translation>
    </message>
    <message>
        <source>The CSV export needs %1 rows, at least %2, but only %3 are free for
%4
Nothing was written.</source>
        <translation>Export CSV potřebuje %1 řádků, nejméně %2, ale volných je jen %3 pro
%4
Nic nebylo zapsáno.</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogPreferences</name>
    <message>
        <source>General</source>
        <translation>Obecné</translation>
    </message>
    <message>
        <source>Profile File :</source>
        <translation>Soubor profilu :</translation>
    </message>
    <message>
        <source>Language :</source>
        <translation>Jazyk :</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Předvolby</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>Profil</translation>
    </message>
    <message>
        <source>ORLO Profile (*.xml);;All files (*.*)</source>
        <translation>Profil ORLO (*.xml);;Všechny soubory (*.*)</translation>
    </message>
    <message>
        <source>KAVO Info</source>
        <translation>Informace KAVO</translation>
    </message>
    <message>
        <source>Please restart KAVO to load new language !</source>
        <translation>Pro načtení nového jazyka restartujte KAVO!</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogProfile</name>
    <message>
        <source>Selected Parameters</source>
        <translation>Vybrané parametry</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Vymazat</translation>
    </message>
    <message>
        <source>Confirm Selection</source>
        <translation>Potvrdit výběr</translation>
    </message>
</context>
</TS>
