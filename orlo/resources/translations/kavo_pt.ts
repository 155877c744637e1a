<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_PT">
<context>
    <name>DialogAbout</name>
    <message>
        <source>Close</source>
        <translation>Fechar</translation>
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
        <translation>Data</translation>
    </message>
    <message>
        <source>Start Time</source>
        <translation>Hora de início</translation>
    </message>
    <message>
        <source>Stop Time</source>
        <translation>Hora de fim</translation>
    </message>
    <message>
        <source>Bus Type</source>
        <translation>Tipo de barramento</translation>
    </message>
    <message>
        <source>ECU Serial Number</source>
        <translation>N.º de série da ECU</translation>
    </message>
    <message>
        <source>Software Part Nr. A</source>
        <translation>N.º peça software A</translation>
    </message>
    <message>
        <source>Software Part Nr. B</source>
        <translation>N.º peça software B</translation>
    </message>
    <message>
        <source>ECU Type</source>
        <translation>Tipo de ECU</translation>
    </message>
    <message>
        <source>EMU SW Version</source>
        <translation>Versão de SW da EMU</translation>
    </message>
    <message>
        <source>Engine Serial Nr.</source>
        <translation>N.º de série do motor</translation>
    </message>
    <message>
        <source>Engine Type</source>
        <translation>Tipo de motor</translation>
    </message>
    <message>
        <source>Samples Total</source>
        <translation>Total de amostras</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogData</name>
    <message>
        <source>Data</source>
        <translation>Dados</translation>
    </message>
    <message>
        <source>Limit/Warning Exceed</source>
        <translation>Excedência de limite/aviso</translation>
    </message>
    <message>
        <source>Graph</source>
        <translation>Gráfico</translation>
    </message>
    <message>
        <source>Offset:</source>
        <translation>Desvio:</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogDataGraph</name>
    <message>
        <source>Zoom In</source>
        <translation>Ampliar</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Reduzir</translation>
    </message>
    <message>
        <source>Zoom 1:1</source>
        <translation>Zoom 1:1</translation>
    </message>
    <message>
        <source>Zoom Marker</source>
        <translation>Zoom aos marcadores</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Limpar tudo</translation>
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
        <translation>Repor tudo nos valores predefinidos</translation>
    </message>
    <message>
        <source>Setup</source>
        <translation>Configuração</translation>
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
        <translation>Ficheiro BMP (*.bmp);;Todos os ficheiros (*.*)</translation>
    </message>
    <message>
        <source>Saving the snapshot failed !
%1</source>
        <translation>Falha ao guardar a captura!
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
        <translation>Tempo</translation>
    </message>
    <message>
        <source>Warning/Limit Exceed</source>
        <translation>Excedência de aviso/limite</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogDataTable</name>
    <message>
        <source>Time</source>
        <translation>Tempo</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogDataWarning</name>
    <message>
        <source>Time</source>
        <translation>Tempo</translation>
    </message>
    <message>
        <source>Warning Lamps</source>
        <translation>Luzes de aviso</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportCsv</name>
    <message>
        <source>CSV Export</source>
        <translation>Exportação CSV</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportCsvOptions</name>
    <message>
        <source>CSV/CAN Export</source>
        <translation>Exportação CSV/CAN</translation>
    </message>
    <message>
        <source>Select CSV/CAN Option</source>
        <translation>Selecione as opções CSV/CAN</translation>
    </message>
    <message>
        <source>Semikolon ;</source>
        <translation>Ponto e vírgula ;</translation>
    </message>
    <message>
        <source>Comma ,</source>
        <translation>Vírgula ,</translation>
    </message>
    <message>
        <source>Tabstop</source>
        <translation>Tabulação</translation>
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
        <translation>Todos os parâmetros</translation>
    </message>
    <message>
        <source>Selected Parameter only</source>
        <translation>Apenas os parâmetros selecionados</translation>
    </message>
    <message>
        <source>Limiter</source>
        <translation>Separador</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>Resolução</translation>
    </message>
    <message>
        <source>Parameter Selection</source>
        <translation>Seleção de parâmetros</translation>
    </message>
    <message>
        <source>Start/Stop Time</source>
        <translation>Hora de início/fim</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportCsvPath</name>
    <message>
        <source>Save CSV/CAN Export</source>
        <translation>Guardar exportação CSV/CAN</translation>
    </message>
    <message>
        <source>CSV/CAN Export</source>
        <translation>Exportação CSV/CAN</translation>
    </message>
    <message>
        <source>Select the output directory and file</source>
        <translation>Selecione a pasta e o ficheiro de destino</translation>
    </message>
    <message>
        <source>Export Type</source>
        <translation>Tipo de exportação</translation>
    </message>
    <message>
        <source>Export Path</source>
        <translation>Caminho de exportação</translation>
    </message>
    <message>
        <source>Export Filename</source>
        <translation>Nome do ficheiro de exportação</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportKml</name>
    <message>
        <source>Google Earth KML Export</source>
        <translation>Exportação KML para o Google Earth</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportKmlOptions</name>
    <message>
        <source>KML Export</source>
        <translation>Exportação KML</translation>
    </message>
    <message>
        <source>Select KML Option</source>
        <translation>Selecione as opções KML</translation>
    </message>
    <message>
        <source>Timestamp every :</source>
        <translation>Marca temporal a cada :</translation>
    </message>
    <message>
        <source>Line Style</source>
        <translation>Estilo de linha</translation>
    </message>
    <message>
        <source>Line width</source>
        <translation>Espessura da linha</translation>
    </message>
    <message>
        <source>Line color</source>
        <translation>Cor da linha</translation>
    </message>
    <message>
        <source>Draw Polygon</source>
        <translation>Desenhar polígono</translation>
    </message>
    <message>
        <source>Polygon color</source>
        <translation>Cor do polígono</translation>
    </message>
    <message>
        <source>Start/Stop Time</source>
        <translation>Hora de início/fim</translation>
    </message>
    <message>
        <source>Select Line Color</source>
        <translation>Selecione a cor da linha</translation>
    </message>
    <message>
        <source>Select Polygon Color</source>
        <translation>Selecione a cor do polígono</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportKmlPath</name>
    <message>
        <source>Save KML Export</source>
        <translation>Guardar exportação KML</translation>
    </message>
    <message>
        <source>KML Export</source>
        <translation>Exportação KML</translation>
    </message>
    <message>
        <source>Select the output directory and file</source>
        <translation>Selecione a pasta e o ficheiro de destino</translation>
    </message>
    <message>
        <source>Export Path</source>
        <translation>Caminho de exportação</translation>
    </message>
    <message>
        <source>Export Filename</source>
        <translation>Nome do ficheiro de exportação</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportKmlPlacemark</name>
    <message>
        <source>KML Export</source>
        <translation>Exportação KML</translation>
    </message>
    <message>
        <source>Select KML Placemarks</source>
        <translation>Selecione os marcadores KML</translation>
    </message>
    <message>
        <source>Draw selected parameters as placemarks</source>
        <translation>Desenhar os parâmetros selecionados como marcadores</translation>
    </message>
    <message>
        <source> samples</source>
        <translation> amostras</translation>
    </message>
    <message>
        <source>Placemark every</source>
        <translation>Marcador a cada</translation>
    </message>
    <message>
        <source>Placemark Color</source>
        <translation>Cor dos marcadores</translation>
    </message>
    <message>
        <source>Show Limit exceedance / Warning Lamps</source>
        <translation>Mostrar excedências de limite / luzes de aviso</translation>
    </message>
    <message>
        <source>Limit Exceedance</source>
        <translation>Excedência de limite</translation>
    </message>
    <message>
        <source>Warning Lamps</source>
        <translation>Luzes de aviso</translation>
    </message>
    <message>
        <source>Exceedance Placemark Color</source>
        <translation>Cor dos marcadores de excedência</translation>
    </message>
    <message>
        <source>Select Placemark Color</source>
        <translation>Selecione a cor dos marcadores</translation>
    </message>
    <message>
        <source>Select Exceedance Color</source>
        <translation>Selecione a cor de excedência</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogGraphSetup</name>
    <message>
        <source>Oscilloscope Setup</source>
        <translation>Configuração do osciloscópio</translation>
    </message>
    <message>
        <source>Grid On</source>
        <translation>Grelha ativada</translation>
    </message>
    <message>
        <source>Cursor On</source>
        <translation>Cursor ativado</translation>
    </message>
    <message>
        <source>Floating</source>
        <translation>Livre</translation>
    </message>
    <message>
        <source>Center</source>
        <translation>Centro</translation>
    </message>
    <message>
        <source>End</source>
        <translation>Fim</translation>
    </message>
    <message>
        <source>Legend On</source>
        <translation>Legenda ativada</translation>
    </message>
    <message>
        <source>Autoscale On</source>
        <translation>Escala automática ativada</translation>
    </message>
    <message>
        <source>Background Color :</source>
        <translation>Cor de fundo :</translation>
    </message>
    <message>
        <source>Grid On/Color :</source>
        <translation>Grelha/cor :</translation>
    </message>
    <message>
        <source>Label Color :</source>
        <translation>Cor das etiquetas :</translation>
    </message>
    <message>
        <source>Label Background :</source>
        <translation>Fundo das etiquetas :</translation>
    </message>
    <message>
        <source>Cursor On/Mode :</source>
        <translation>Cursor/modo :</translation>
    </message>
    <message>
        <source>Legend :</source>
        <translation>Legenda :</translation>
    </message>
    <message>
        <source>Y-Scale :</source>
        <translation>Escala Y :</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fechar</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Selecionar</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogMain</name>
    <message>
        <source>&amp;New Project</source>
        <translation>&amp;Novo projeto</translation>
    </message>
    <message>
        <source>Ctrl+N</source>
        <translation>Ctrl+N</translation>
    </message>
    <message>
        <source>Create new Project</source>
        <translation>Criar um novo projeto</translation>
    </message>
    <message>
        <source>&amp;Open Project</source>
        <translation>&amp;Abrir projeto</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>Open Project</source>
        <translation>Abrir projeto</translation>
    </message>
    <message>
        <source>Open Project File</source>
        <translation>Abrir ficheiro de projeto</translation>
    </message>
    <message>
        <source>&amp;Save Project</source>
        <translation>&amp;Guardar projeto</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>Save Project</source>
        <translation>Guardar projeto</translation>
    </message>
    <message>
        <source>Save Project File</source>
        <translation>Guardar ficheiro de projeto</translation>
    </message>
    <message>
        <source>&amp;Save Project as</source>
        <translation>Guardar projeto &amp;como</translation>
    </message>
    <message>
        <source>Save Project as</source>
        <translation>Guardar projeto como</translation>
    </message>
    <message>
        <source>Save Project File as</source>
        <translation>Guardar ficheiro de projeto como</translation>
    </message>
    <message>
        <source>&amp;Open Card</source>
        <translation>Abrir car&amp;tão</translation>
    </message>
    <message>
        <source>Ctrl+C</source>
        <translation>Ctrl+C</translation>
    </message>
    <message>
        <source>Open Card</source>
        <translation>Abrir cartão</translation>
    </message>
    <message>
        <source>Open SD Card</source>
        <translation>Abrir cartão SD</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Preferências</translation>
    </message>
    <message>
        <source>Open Preferences Dialog</source>
        <translation>Abrir a caixa de diálogo de preferências</translation>
    </message>
    <message>
        <source>Export Google KML File</source>
        <translation>Exportar ficheiro KML do Google</translation>
    </message>
    <message>
        <source>Export Google Earth KML File</source>
        <translation>Exportar ficheiro KML do Google Earth</translation>
    </message>
    <message>
        <source>Export CSV/CAN File</source>
        <translation>Exportar ficheiro CSV/CAN</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Sair</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>Quit Application</source>
        <translation>Sair da aplicação</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>Show License Information</source>
        <translation>Mostrar informações de licença</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ajuda</translation>
    </message>
    <message>
        <source>F1</source>
        <translation>F1</translation>
    </message>
    <message>
        <source>Help Window</source>
        <translation>Janela de ajuda</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Ficheiro</translation>
    </message>
    <message>
        <source>&amp;Extras</source>
        <translation>&amp;Extras</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Ajuda</translation>
    </message>
    <message>
        <source>Main Toolbar</source>
        <translation>Barra de ferramentas principal</translation>
    </message>
    <message>
        <source>[edited]</source>
        <translation>[modificado]</translation>
    </message>
    <message>
        <source>KAVO Warning</source>
        <translation>Aviso KAVO</translation>
    </message>
    <message>
        <source>Current Project not saved !
Save it now ?</source>
        <translation>O projeto atual não foi guardado!
Guardá-lo agora?</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Sim</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Não</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Save KAVO Project</source>
        <translation>Guardar projeto KAVO</translation>
    </message>
    <message>
        <source>Project Files (*.xml)</source>
        <translation>Ficheiros de projeto (*.xml)</translation>
    </message>
    <message>
        <source>Saving the project failed !
%1</source>
        <translation>Falha ao guardar o projeto!
%1</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Open KAVO Project</source>
        <translation>Abrir projeto KAVO</translation>
    </message>
    <message>
        <source>Reading the project failed !
%1</source>
        <translation>Falha ao ler o projeto!
%1</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>não é um ficheiro normal</translation>
    </message>
    <message>
        <source>needs %1 of memory, %2 are available</source>
        <translation>precisa de %1 de memória, estão disponíveis %2</translation>
    </message>
    <message>
        <source>cannot be opened (%1)</source>
        <translation>não pode ser aberto (%1)</translation>
    </message>
    <message>
        <source>The settings could not be saved in
%1</source>
        <translation>Não foi possível guardar as definições em
%1</translation>
    </message>
    <message>
        <source>The time offset could not be saved in
%1
It stays at %2 s.</source>
        <translation>Não foi possível guardar o desvio de tempo em
%1
Mantém-se em %2 s.</translation>
    </message>
    <message>
        <source>The time offset of %1 s in
%2
lies outside -10000 to 10000 s; 0 s is used.</source>
        <translation>O desvio de tempo de %1 s em
%2
está fora do intervalo de -10000 a 10000 s; é usado 0 s.</translation>
    </message>
    <message>
        <source>These files were not loaded:
%1</source>
        <translation>Estes ficheiros não foram carregados:
%1</translation>
    </message>
    <message>
        <source>The profile cannot be read:
%1
Line %2, column %3: %4</source>
        <translation>Não é possível ler o perfil:
%1
Linha %2, coluna %3: %4</translation>
    </message>
    <message>
        <source>The profile cannot be read:
%1
%2</source>
        <translation>Não é possível ler o perfil:
%1
%2</translation>
    </message>
    <message>
        <source>The CSV export needs %1 rows, at least %2, but only %3 are free for
%4
Nothing was written.</source>
        <translation>A exportação CSV precisa de %1 linhas, pelo menos %2, mas só estão livres %3 para
%4
Nada foi escrito.</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogPreferences</name>
    <message>
        <source>General</source>
        <translation>Geral</translation>
    </message>
    <message>
        <source>Profile File :</source>
        <translation>Ficheiro de perfil :</translation>
    </message>
    <message>
        <source>Language :</source>
        <translation>Idioma :</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Preferências</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>Perfil</translation>
    </message>
    <message>
        <source>ORLO Profile (*.xml);;All files (*.*)</source>
        <translation>Perfil ORLO (*.xml);;Todos os ficheiros (*.*)</translation>
    </message>
    <message>
        <source>KAVO Info</source>
        <translation>Informação KAVO</translation>
    </message>
    <message>
        <source>Please restart KAVO to load new language !</source>
        <translation>Reinicie o KAVO para carregar o novo idioma!</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogProfile</name>
    <message>
        <source>Selected Parameters</source>
        <translation>Parâmetros selecionados</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Limpar</translation>
    </message>
    <message>
        <source>Confirm Selection</source>
        <translation>Confirmar seleção</translation>
    </message>
</context>
</TS>
