<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>DialogAbout</name>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
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
        <translation>Date</translation>
    </message>
    <message>
        <source>Start Time</source>
        <translation>Heure de début</translation>
    </message>
    <message>
        <source>Stop Time</source>
        <translation>Heure de fin</translation>
    </message>
    <message>
        <source>Bus Type</source>
        <translation>Type de bus</translation>
    </message>
    <message>
        <source>ECU Serial Number</source>
        <translation>N° de série de l&apos;ECU</translation>
    </message>
    <message>
        <source>Software Part Nr. A</source>
        <translation>Réf. logiciel A</translation>
    </message>
    <message>
        <source>Software Part Nr. B</source>
        <translation>Réf. logiciel B</translation>
    </message>
    <message>
        <source>ECU Type</source>
        <translation>Type d&apos;ECU</translation>
    </message>
    <message>
        <source>EMU SW Version</source>
        <translation>Version logicielle EMU</translation>
    </message>
    <message>
        <source>Engine Serial Nr.</source>
        <translation>N° de série moteur</translation>
    </message>
    <message>
        <source>Engine Type</source>
        <translation>Type de moteur</translation>
    </message>
    <message>
        <source>Samples Total</source>
        <translation>Total des échantillons</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogData</name>
    <message>
        <source>Data</source>
        <translation>Données</translation>
    </message>
    <message>
        <source>Limit/Warning Exceed</source>
        <translation>Dépassement limite/avertissement</translation>
    </message>
    <message>
        <source>Graph</source>
        <translation>Graphique</translation>
    </message>
    <message>
        <source>Offset:</source>
        <translation>Décalage:</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogDataGraph</name>
    <message>
        <source>Zoom In</source>
        <translation>Zoom avant</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Zoom arrière</translation>
    </message>
    <message>
        <source>Zoom 1:1</source>
        <translation>Zoom 1:1</translation>
    </message>
    <message>
        <source>Zoom Marker</source>
        <translation>Zoom sur les marqueurs</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Tout effacer</translation>
    </message>
    <message>
        <source>Automatic Mode</source>
        <translation>Mode automatique</translation>
    </message>
    <message>
        <source>Split Mode</source>
        <translation>Mode séparé</translation>
    </message>
    <message>
        <source>Single Graph Mode</source>
        <translation>Mode graphique unique</translation>
    </message>
    <message>
        <source>Reset all to default</source>
        <translation>Tout rétablir par défaut</translation>
    </message>
    <message>
        <source>Setup</source>
        <translation>Configuration</translation>
    </message>
    <message>
        <source>Snapshot</source>
        <translation>Capture</translation>
    </message>
    <message>
        <source>Save Snapshot</source>
        <translation>Enregistrer la capture</translation>
    </message>
    <message>
        <source>BMP File (*.bmp);;All Files (*.*)</source>
        <translation>Fichier BMP (*.bmp);;Tous les fichiers (*.*)</translation>
    </message>
    <message>
        <source>Saving the snapshot failed !
%1</source>
        <translation>L&apos;enregistrement de la capture a échoué !
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
        <translation>Temps</translation>
    </message>
    <message>
        <source>Warning/Limit Exceed</source>
        <translation>Dépassement avertissement/limite</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogDataTable</name>
    <message>
        <source>Time</source>
        <translation>Temps</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogDataWarning</name>
    <message>
        <source>Time</source>
        <translation>Temps</translation>
    </message>
    <message>
        <source>Warning Lamps</source>
        <translation>Voyants d&apos;avertissement</translation>
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
        <translation>Choisir les options CSV/CAN</translation>
    </message>
    <message>
        <source>Semikolon ;</source>
        <translation>Point-virgule ;</translation>
    </message>
    <message>
        <source>Comma ,</source>
        <translation>Virgule ,</translation>
    </message>
    <message>
        <source>Tabstop</source>
        <translation>Tabulation</translation>
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
        <translation>Tous les paramètres</translation>
    </message>
    <message>
        <source>Selected Parameter only</source>
        <translation>Paramètres sélectionnés uniquement</translation>
    </message>
    <message>
        <source>Limiter</source>
        <translation>Séparateur</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>Résolution</translation>
    </message>
    <message>
        <source>Parameter Selection</source>
        <translation>Sélection des paramètres</translation>
    </message>
    <message>
        <source>Start/Stop Time</source>
        <translation>Heure de début/fin</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportCsvPath</name>
    <message>
        <source>Save CSV/CAN Export</source>
        <translation>Enregistrer l&apos;export CSV/CAN</translation>
    </message>
    <message>
        <source>CSV/CAN Export</source>
        <translation>Export CSV/CAN</translation>
    </message>
    <message>
        <source>Select the output directory and file</source>
        <translation>Choisir le dossier et le fichier de sortie</translation>
    </message>
    <message>
        <source>Export Type</source>
        <translation>Type d&apos;export</translation>
    </message>
    <message>
        <source>Export Path</source>
        <translation>Chemin d&apos;export</translation>
    </message>
    <message>
        <source>Export Filename</source>
        <translation>Nom du fichier d&apos;export</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportKml</name>
    <message>
        <source>Google Earth KML Export</source>
        <translation>Export KML Google Earth</translation>
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
        <translation>Choisir les options KML</translation>
    </message>
    <message>
        <source>Timestamp every :</source>
        <translation>Horodatage toutes les :</translation>
    </message>
    <message>
        <source>Line Style</source>
        <translation>Style de ligne</translation>
    </message>
    <message>
        <source>Line width</source>
        <translation>Épaisseur de ligne</translation>
    </message>
    <message>
        <source>Line color</source>
        <translation>Couleur de ligne</translation>
    </message>
    <message>
        <source>Draw Polygon</source>
        <translation>Dessiner le polygone</translation>
    </message>
    <message>
        <source>Polygon color</source>
        <translation>Couleur du polygone</translation>
    </message>
    <message>
        <source>Start/Stop Time</source>
        <translation>Heure de début/fin</translation>
    </message>
    <message>
        <source>Select Line Color</source>
        <translation>Choisir la couleur de ligne</translation>
    </message>
    <message>
        <source>Select Polygon Color</source>
        <translation>Choisir la couleur du polygone</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogExportKmlPath</name>
    <message>
        <source>Save KML Export</source>
        <translation>Enregistrer l&apos;export KML</translation>
    </message>
    <message>
        <source>KML Export</source>
        <translation>Export KML</translation>
    </message>
    <message>
        <source>Select the output directory and file</source>
        <translation>Choisir le dossier et le fichier de sortie</translation>
    </message>
    <message>
        <source>Export Path</source>
        <translation>Chemin d&apos;export</translation>
    </message>
    <message>
        <source>Export Filename</source>
        <translation>Nom du fichier d&apos;export</translation>
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
        <translation>Choisir les repères KML</translation>
    </message>
    <message>
        <source>Draw selected parameters as placemarks</source>
        <translation>Dessiner les paramètres sélectionnés comme repères</translation>
    </message>
    <message>
        <source> samples</source>
        <translation> échantillons</translation>
    </message>
    <message>
        <source>Placemark every</source>
        <translation>Repère tous les</translation>
    </message>
    <message>
        <source>Placemark Color</source>
        <translation>Couleur des repères</translation>
    </message>
    <message>
        <source>Show Limit exceedance / Warning Lamps</source>
        <translation>Afficher les dépassements de limite / voyants d&apos;avertissement</translation>
    </message>
    <message>
        <source>Limit Exceedance</source>
        <translation>Dépassement de limite</translation>
    </message>
    <message>
        <source>Warning Lamps</source>
        <translation>Voyants d&apos;avertissement</translation>
    </message>
    <message>
        <source>Exceedance Placemark Color</source>
        <translation>Couleur des repères de dépassement</translation>
    </message>
    <message>
        <source>Select Placemark Color</source>
        <translation>Choisir la couleur des repères</translation>
    </message>
    <message>
        <source>Select Exceedance Color</source>
        <translation>Choisir la couleur de dépassement</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogGraphSetup</name>
    <message>
        <source>Oscilloscope Setup</source>
        <translation>Configuration de l&apos;oscilloscope</translation>
    </message>
    <message>
        <source>Grid On</source>
        <translation>Grille activée</translation>
    </message>
    <message>
        <source>Cursor On</source>
        <translation>Curseur activé</translation>
    </message>
    <message>
        <source>Floating</source>
        <translation>Libre</translation>
    </message>
    <message>
        <source>Center</source>
        <translation>Centre</translation>
    </message>
    <message>
        <source>End</source>
        <translation>Fin</translation>
    </message>
    <message>
        <source>Legend On</source>
        <translation>Légende activée</translation>
    </message>
    <message>
        <source>Autoscale On</source>
        <translation>Échelle automatique activée</translation>
    </message>
    <message>
        <source>Background Color :</source>
        <translation>Couleur de fond :</translation>
    </message>
    <message>
        <source>Grid On/Color :</source>
        <translation>Grille/couleur :</translation>
    </message>
    <message>
        <source>Label Color :</source>
        <translation>Couleur des étiquettes :</translation>
    </message>
    <message>
        <source>Label Background :</source>
        <translation>Fond des étiquettes :</translation>
    </message>
    <message>
        <source>Cursor On/Mode :</source>
        <translation>Curseur/mode :</translation>
    </message>
    <message>
        <source>Legend :</source>
        <translation>Légende :</translation>
    </message>
    <message>
        <source>Y-Scale :</source>
        <translation>Échelle Y :</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Choisir</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogMain</name>
    <message>
        <source>&amp;New Project</source>
        <translation>&amp;Nouveau projet</translation>
    </message>
    <message>
        <source>Ctrl+N</source>
        <translation>Ctrl+N</translation>
    </message>
    <message>
        <source>Create new Project</source>
        <translation>Créer un nouveau projet</translation>
    </message>
    <message>
        <source>&amp;Open Project</source>
        <translation>&amp;Ouvrir un projet</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>Open Project</source>
        <translation>Ouvrir un projet</translation>
    </message>
    <message>
        <source>Open Project File</source>
        <translation>Ouvrir un fichier de projet</translation>
    </message>
    <message>
        <source>&amp;Save Project</source>
        <translation>&amp;Enregistrer le projet</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>Save Project</source>
        <translation>Enregistrer le projet</translation>
    </message>
    <message>
        <source>Save Project File</source>
        <translation>Enregistrer le fichier de projet</translation>
    </message>
    <message>
        <source>&amp;Save Project as</source>
        <translation>Enregistrer le projet &amp;sous</translation>
    </message>
    <message>
        <source>Save Project as</source>
        <translation>Enregistrer le projet sous</translation>
    </message>
    <message>
        <source>Save Project File as</source>
        <translation>Enregistrer le fichier de projet sous</translation>
    </message>
    <message>
        <source>&amp;Open Card</source>
        <translation>Ouvrir la &amp;carte</translation>
    </message>
    <message>
        <source>Ctrl+C</source>
        <translation>Ctrl+C</translation>
    </message>
    <message>
        <source>Open Card</source>
        <translation>Ouvrir la carte</translation>
    </message>
    <message>
        <source>Open SD Card</source>
        <translation>Ouvrir la carte SD</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Préférences</translation>
    </message>
    <message>
        <source>Open Preferences Dialog</source>
        <translation>Ouvrir la boîte de dialogue des préférences</translation>
    </message>
    <message>
        <source>Export Google KML File</source>
        <translation>Exporter un fichier KML Google</translation>
    </message>
    <message>
        <source>Export Google Earth KML File</source>
        <translation>Exporter un fichier KML Google Earth</translation>
    </message>
    <message>
        <source>Export CSV/CAN File</source>
        <translation>Exporter un fichier CSV/CAN</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>Quit Application</source>
        <translation>Quitter l&apos;application</translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>Show License Information</source>
        <translation>Afficher les informations de licence</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>F1</source>
        <translation>F1</translation>
    </message>
    <message>
        <source>Help Window</source>
        <translation>Fenêtre d&apos;aide</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Extras</source>
        <translation>&amp;Outils</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>Main Toolbar</source>
        <translation>Barre d&apos;outils principale</translation>
    </message>
    <message>
        <source>[edited]</source>
        <translation>[modifié]</translation>
    </message>
    <message>
        <source>KAVO Warning</source>
        <translation>Avertissement KAVO</translation>
    </message>
    <message>
        <source>Current Project not saved !
Save it now ?</source>
        <translation>Le projet actuel n&apos;est pas enregistré !
L&apos;enregistrer maintenant ?</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Oui</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Non</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Save KAVO Project</source>
        <translation>Enregistrer le projet KAVO</translation>
    </message>
    <message>
        <source>Project Files (*.xml)</source>
        <translation>Fichiers de projet (*.xml)</translation>
    </message>
    <message>
        <source>Saving the project failed !
%1</source>
        <translation>L&apos;enregistrement du projet a échoué !
%1</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Open KAVO Project</source>
        <translation>Ouvrir un projet KAVO</translation>
    </message>
    <message>
        <source>Reading the project failed !
%1</source>
        <translation>La lecture du projet a échoué !
%1</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>n&apos;est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>needs %1 of memory, %2 are available</source>
        <translation>nécessite %1 de mémoire, %2 sont disponibles</translation>
    </message>
    <message>
        <source>cannot be opened (%1)</source>
        <translation>ne peut pas être ouvert (%1)</translation>
    </message>
    <message>
        <source>The settings could not be saved in
%1</source>
        <translation>Impossible d&apos;enregistrer les paramètres dans
%1</translation>
    </message>
    <message>
        <source>The time offset could not be saved in
%1
It stays at %2 s.</source>
        <translation>Impossible d&apos;enregistrer le décalage temporel dans
%1
Il reste à %2 s.</translation>
    </message>
    <message>
        <source>The time offset of %1 s in
%2
lies outside -10000 to 10000 s; 0 s is used.</source>
        <translation>Le décalage temporel de %1 s dans
%2
est hors de la plage de -10000 à 10000 s ; 0 s est utilisé.</translation>
    </message>
    <message>
        <source>These files were not loaded:
%1</source>
        <translation>Ces fichiers n&apos;ont pas été chargés :
%1</translation>
    </message>
    <message>
        <source>The profile cannot be read:
%1
Line %2, column %3: %4</source>
        <translation>Impossible de lire le profil :
%1
Ligne %2, colonne %3 : %4</translation>
    </message>
    <message>
        <source>The profile cannot be read:
%1
%2</source>
        <translation>Impossible de lire le profil :
%1
%2</translation>
    </message>
    <message>
        <source>The CSV export needs %1 rows, at least %2, but only %3 are free for
%4
Nothing was written.</source>
        <translation>L&apos;export CSV nécessite %1 lignes, au moins %2, mais seulement %3 sont libres pour
%4
Rien n&apos;a été écrit.</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogPreferences</name>
    <message>
        <source>General</source>
        <translation>Général</translation>
    </message>
    <message>
        <source>Profile File :</source>
        <translation>Fichier de profil :</translation>
    </message>
    <message>
        <source>Language :</source>
        <translation>Langue :</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Préférences</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>Profil</translation>
    </message>
    <message>
        <source>ORLO Profile (*.xml);;All files (*.*)</source>
        <translation>Profil ORLO (*.xml);;Tous les fichiers (*.*)</translation>
    </message>
    <message>
        <source>KAVO Info</source>
        <translation>Information KAVO</translation>
    </message>
    <message>
        <source>Please restart KAVO to load new language !</source>
        <translation>Veuillez redémarrer KAVO pour charger la nouvelle langue !</translation>
    </message>
</context>
<context>
    <name>KAVO::DialogProfile</name>
    <message>
        <source>Selected Parameters</source>
        <translation>Paramètres sélectionnés</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Effacer</translation>
    </message>
    <message>
        <source>Confirm Selection</source>
        <translation>Confirmer la sélection</translation>
    </message>
</context>
</TS>
