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
        <translation>Fecha</translation>
    </message>
    <message>
        <source>Start Time</source>
        <translation>Hora de inicio</translation>
    </message>
    <message>
        <source>Stop Time</source>
        <translation>Hora de fin</translation>
    </message>
    <message>
        <source>Bus Type</source>
        <translation>Tipo de bus</translation>
    </message>
    <message>
        <source>ECU Serial Number</source>
        <translation>N.º de serie de la ECU</translation>
    </message>
    <message>
        <source>Software Part Nr. A</source>
        <translation>N.º pieza software A</translation>
    </message>
    <message>
        <source>Software Part Nr. B</source>
        <translation>N.º pieza software B</translation>
    </message>
    <message>
        <source>ECU Type</source>
        <translation>Tipo de ECU</translation>
    </message>
    <message>
        <source>EMU SW Version</source>
        <translation>Versión de SW de la EMU</translation>
    </message>
    <message>
        <source>Engine Serial Nr.</source>
        <translation>N.º de serie del motor</translation>
    </message>
    <message>
        <source>Engine Type</source>
        <translation>Tipo de motor</translation>
    </message>
    <message>
        <source>Samples Total</source>
        <translation>Total de muestras</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogData</name>
    <message>
        <source>Data</source>
        <translation>Datos</translation>
    </message>
    <message>
        <source>Limit/Warning Exceed</source>
        <translation>Superación de límite/advertencia</translation>
    </message>
    <message>
        <source>Graph</source>
        <translation>Gráfico</translation>
    </message>
    <message>
        <source>Offset:</source>
        <translation>Desfase:</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogDataGraph</name>
    <message>
        <source>Zoom In</source>
        <translation>Acercar</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Alejar</translation>
    </message>
    <message>
        <source>Zoom 1:1</source>
        <translation>Zoom 1:1</translation>
    </message>
    <message>
        <source>Zoom Marker</source>
        <translation>Zoom a los marcadores</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Borrar todo</translation>
    </message>
    <message>
        <source>Automatic Mode</source>
        <translation>Modo automático</translation>
    </message>
    <message>
        <source>Split Mode</source>
        <translation>Modo dividido</translation>
    </message>
    <message>
        <source>Single Graph Mode</source>
        <translation>Modo de gráfico único</translation>
    </message>
    <message>
        <source>Reset all to default</source>
        <translation>Restablecer todo a los valores predeterminados</translation>
    </message>
    <message>
        <source>Setup</source>
        <translation>Configuración</translation>
    </message>
    <message>
        <source>Snapshot</source>
        <translation>Captura</translation>
    </message>
    <message>
        <source>Save Snapshot</source>
        <translation>Guardar captura</translation>
    </message>
    <message>
        <source>BMP File (*.bmp);;All Files (*.*)</source>
        <translation>Archivo BMP (*.bmp);;Todos los archivos (*.*)</translation>
    </message>
    <message>
        <source>Saving the snapshot failed !
%1</source>
        <translation>¡No se pudo guardar la captura!
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
        <translation>Tiempo</translation>
    </message>
    <message>
        <source>Warning/Limit Exceed</source>
        <translation>Superación de advertencia/límite</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogDataTable</name>
    <message>
        <source>Time</source>
        <translation>Tiempo</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogDataWarning</name>
    <message>
        <source>Time</source>
        <translation>Tiempo</translation>
    </message>
    <message>
        <source>Warning Lamps</source>
        <translation>Luces de advertencia</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportCsv</name>
    <message>
        <source>CSV Export</source>
        <translation>Exportación CSV</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportCsvOptions</name>
    <message>
        <source>CSV/CAN Export</source>
        <translation>Exportación CSV/CAN</translation>
    </message>
    <message>
        <source>Select CSV/CAN Option</source>
        <translation>Seleccione las opciones de CSV/CAN</translation>
    </message>
    <message>
        <source>Semikolon ;</source>
        <translation>Punto y coma ;</translation>
    </message>
    <message>
        <source>Comma ,</source>
        <translation>Coma ,</translation>
    </message>
    <message>
        <source>Tabstop</source>
        <translation>Tabulador</translation>
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
        <translation>Todos los parámetros</translation>
    </message>
    <message>
        <source>Selected Parameter only</source>
        <translation>Solo los parámetros seleccionados</translation>
    </message>
    <message>
        <source>Limiter</source>
        <translation>Separador</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>Resolución</translation>
    </message>
    <message>
        <source>Parameter Selection</source>
        <translation>Selección de parámetros</translation>
    </message>
    <message>
        <source>Start/Stop Time</source>
        <translation>Hora de inicio/fin</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportCsvPath</name>
    <message>
        <source>Save CSV/CAN Export</source>
        <translation>Guardar exportación CSV/CAN</translation>
    </message>
    <message>
        <source>CSV/CAN Export</source>
        <translation>Exportación CSV/CAN</translation>
    </message>
    <message>
        <source>Select the output directory and file</source>
        <translation>Seleccione la carpeta y el archivo de destino</translation>
    </message>
    <message>
        <source>Export Type</source>
        <translation>Tipo de exportación</translation>
    </message>
    <message>
        <source>Export Path</source>
        <translation>Ruta de exportación</translation>
    </message>
    <message>
        <source>Export Filename</source>
        <translation>Nombre del archivo de exportación</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportKml</name>
    <message>
        <source>Google Earth KML Export</source>
        <translation>Exportación KML para Google Earth</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportKmlOptions</name>
    <message>
        <source>KML Export</source>
        <translation>Exportación KML</translation>
    </message>
    <message>
        <source>Select KML Option</source>
        <translation>Seleccione las opciones de KML</translation>
    </message>
    <message>
        <source>Timestamp every :</source>
        <translation>Marca de tiempo cada :</translation>
    </message>
    <message>
        <source>Line Style</source>
        <translation>Estilo de línea</translation>
    </message>
    <message>
        <source>Line width</source>
        <translation>Ancho de línea</translation>
    </message>
    <message>
        <source>Line color</source>
        <translation>Color de línea</translation>
    </message>
    <message>
        <source>Draw Polygon</source>
        <translation>Dibujar polígono</translation>
    </message>
    <message>
        <source>Polygon color</source>
        <translation>Color del polígono</translation>
    </message>
    <message>
        <source>Start/Stop Time</source>
        <translation>Hora de inicio/fin</translation>
    </message>
    <message>
        <source>Select Line Color</source>
        <translation>Seleccione el color de línea</translation>
    </message>
    <message>
        <source>Select Polygon Color</source>
        <translation>Seleccione el color del polígono</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportKmlPath</name>
    <message>
        <source>Save KML Export</source>
        <translation>Guardar exportación KML</translation>
    </message>
    <message>
        <source>KML Export</source>
        <translation>Exportación KML</translation>
    </message>
    <message>
        <source>Select the output directory and file</source>
        <translation>Seleccione la carpeta y el archivo de destino</translation>
    </message>
    <message>
        <source>Export Path</source>
        <translation>Ruta de exportación</translation>
    </message>
    <message>
        <source>Export Filename</source>
        <translation>Nombre del archivo de exportación</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportKmlPlacemark</name>
    <message>
        <source>KML Export</source>
        <translation>Exportación KML</translation>
    </message>
    <message>
        <source>Select KML Placemarks</source>
        <translation>Seleccione las marcas de posición KML</translation>
    </message>
    <message>
        <source>Draw selected parameters as placemarks</source>
        <translation>Dibujar los parámetros seleccionados como marcas de posición</translation>
    </message>
    <message>
        <source> samples</source>
        <translation> muestras</translation>
    </message>
    <message>
        <source>Placemark every</source>
        <translation>Marca de posición cada</translation>
    </message>
    <message>
        <source>Placemark Color</source>
        <translation>Color de las marcas de posición</translation>
    </message>
    <message>
        <source>Show Limit exceedance / Warning Lamps</source>
        <translation>Mostrar superaciones de límite / luces de advertencia</translation>
    </message>
    <message>
        <source>Limit Exceedance</source>
        <translation>Superación de límite</translation>
    </message>
    <message>
        <source>Warning Lamps</source>
        <translation>Luces de advertencia</translation>
    </message>
    <message>
        <source>Exceedance Placemark Color</source>
        <translation>Color de las marcas de superación</translation>
    </message>
    <message>
        <source>Select Placemark Color</source>
        <translation>Seleccione el color de las marcas de posición</translation>
    </message>
    <message>
        <source>Select Exceedance Color</source>
        <translation>Seleccione el color de superación</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogGraphSetup</name>
    <message>
        <source>Oscilloscope Setup</source>
        <translation>Configuración del osciloscopio</translation>
    </message>
    <message>
        <source>Grid On</source>
        <translation>Cuadrícula activada</translation>
    </message>
    <message>
        <source>Cursor On</source>
        <translation>Cursor activado</translation>
    </message>
    <message>
        <source>Floating</source>
        <translation>Libre</translation>
    </message>
    <message>
        <source>Center</source>
        <translation>Centro</translation>
    </message>
    <message>
        <source>End</source>
        <translation>Final</translation>
    </message>
    <message>
        <source>Legend On</source>
        <translation>Leyenda activada</translation>
    </message>
    <message>
        <source>Autoscale On</source>
        <translation>Autoescala activada</translation>
    </message>
    <message>
        <source>Background Color :</source>
        <translation>Color de fondo :</translation>
    </message>
    <message>
        <source>Grid On/Color :</source>
        <translation>Cuadrícula/color :</translation>
    </message>
    <message>
        <source>Label Color :</source>
        <translation>Color de etiquetas :</translation>
    </message>
    <message>
        <source>Label Background :</source>
        <translation>Fondo de etiquetas :</translation>
    </message>
    <message>
        <source>Cursor On/Mode :</source>
        <translation>Cursor/modo :</translation>
    </message>
    <message>
        <source>Legend :</source>
        <translation>Leyenda :</translation>
    </message>
    <message>
        <source>Y-Scale :</source>
        <translation>Escala Y :</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Seleccionar</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogMain</name>
    <message>
        <source>&amp;New Project</source>
        <translation>&amp;Nuevo proyecto</translation>
    </message>
    <message>
        <source>Ctrl+N</source>
        <translation>Ctrl+N</translation>
    </message>
    <message>
        <source>Create new Project</source>
        <translation>Crear un proyecto nuevo</translation>
    </message>
    <message>
        <source>&amp;Open Project</source>
        <translation>&amp;Abrir proyecto</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>Open Project</source>
        <translation>Abrir proyecto</translation>
    </message>
    <message>
        <source>Open Project File</source>
        <translation>Abrir archivo de proyecto</translation>
    </message>
    <message>
        <source>&amp;Save Project</source>
        <translation>&amp;Guardar proyecto</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>Save Project</source>
        <translation>Guardar proyecto</translation>
    </message>
    <message>
        <source>Save Project File</source>
        <translation>Guardar archivo de proyecto</translation>
    </message>
    <message>
        <source>&amp;Save Project as</source>
        <translation>Guardar proyecto &amp;como</translation>
    </message>
    <message>
        <source>Save Project as</source>
        <translation>Guardar proyecto como</translation>
    </message>
    <message>
        <source>Save Project File as</source>
        <translation>Guardar archivo de proyecto como</translation>
    </message>
    <message>
        <source>&amp;Open Card</source>
        <translation>Abrir &amp;tarjeta</translation>
    </message>
    <message>
        <source>Ctrl+C</source>
        <translation>Ctrl+C</translation>
    </message>
    <message>
        <source>Open Card</source>
        <translation>Abrir tarjeta</translation>
    </message>
    <message>
        <source>Open SD Card</source>
        <translation>Abrir tarjeta SD</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Preferencias</translation>
    </message>
    <message>
        <source>Open Preferences Dialog</source>
        <translation>Abrir el diálogo de preferencias</translation>
    </message>
    <message>
        <source>Export Google KML File</source>
        <translation>Exportar archivo KML de Google</translation>
    </message>
    <message>
        <source>Export Google Earth KML File</source>
        <translation>Exportar archivo KML de Google Earth</translation>
    </message>
    <message>
        <source>Export CSV/CAN File</source>
        <translation>Exportar archivo CSV/CAN</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>Quit Application</source>
        <translation>Salir de la aplicación</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>Show License Information</source>
        <translation>Mostrar información de licencia</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ayuda</translation>
    </message>
    <message>
        <source>F1</source>
        <translation>F1</translation>
    </message>
    <message>
        <source>Help Window</source>
        <translation>Ventana de ayuda</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>&amp;Extras</source>
        <translation>&amp;Extras</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>A&amp;yuda</translation>
    </message>
    <message>
        <source>Main Toolbar</source>
        <translation>Barra de herramientas principal</translation>
    </message>
    <message>
        <source>[edited]</source>
        <translation>[modificado]</translation>
    </message>
    <message>
        <source>KAVO Warning</source>
        <translation>Advertencia de KAVO</translation>
    </message>
    <message>
        <source>Current Project not saved !
Save it now ?</source>
        <translation>El proyecto actual no se ha guardado.
¿Guardarlo ahora?</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Sí</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Save KAVO Project</source>
        <translation>Guardar proyecto KAVO</translation>
    </message>
    <message>
        <source>Project Files (*.xml)</source>
        <translation>Archivos de proyecto (*.xml)</translation>
    </message>
    <message>
        <source>Saving the project failed !
%1</source>
        <translation>¡No se pudo guardar el proyecto!
%1</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Open KAVO Project</source>
        <translation>Abrir proyecto KAVO</translation>
    </message>
    <message>
        <source>Reading the project failed !
%1</source>
        <translation>¡No se pudo leer el proyecto!
%1</translation>
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
        <translation>General</translation>
    </message>
    <message>
        <source>Profile File :</source>
        <translation>Archivo de perfil :</translation>
    </message>
    <message>
        <source>Language :</source>
        <translation>Idioma :</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Preferencias</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>Perfil</translation>
    </message>
    <message>
        <source>ORLO Profile (*.xml);;All files (*.*)</source>
        <translation>Perfil ORLO (*.xml);;Todos los archivos (*.*)</translation>
    </message>
    <message>
        <source>KAVO Info</source>
        <translation>Información de KAVO</translation>
    </message>
    <message>
        <source>Please restart KAVO to load new language !</source>
        <translation>¡Reinicie KAVO para cargar el nuevo idioma!</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogProfile</name>
    <message>
        <source>Selected Parameters</source>
        <translation>Parámetros seleccionados</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Borrar</translation>
    </message>
    <message>
        <source>Confirm Selection</source>
        <translation>Confirmar selección</translation>
    </message>
</context>
</TS>
