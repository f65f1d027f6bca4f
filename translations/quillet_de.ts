<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CommandLine</name>
    <message>
        <source>Edit the resource file FILE (.rsc).</source>
        <translation>Bearbeitet die Ressourcendatei DATEI (.rsc).</translation>
    </message>
    <message>
        <source>The 8-bit code page of the texts, e.g. 1251 or windows-1252 (default: from the locale).</source>
        <translation>Die 8-Bit-Codepage der Texte, z. B. 1251 oder windows-1252 (Vorgabe: aus dem Gebietsschema).</translation>
    </message>
    <message>
        <source>CP</source>
        <translation>CP</translation>
    </message>
    <message>
        <source>FILE</source>
        <translation>DATEI</translation>
    </message>
    <message>
        <source>The resource file to open.</source>
        <translation>Die zu öffnende Ressourcendatei.</translation>
    </message>
    <message>
        <source>[FILE]</source>
        <translation>[DATEI]</translation>
    </message>
    <message>
        <source>unknown code page &apos;%1&apos;</source>
        <translation>unbekannte Codepage „%1“</translation>
    </message>
</context>
<context>
    <name>LongWork</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>QtPrompts</name>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>&amp;Verwerfen</translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation>&amp;Anwenden</translation>
    </message>
    <message>
        <source>Resource files (*.rsc);;All files (*)</source>
        <translation>Ressourcendateien (*.rsc);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Export texts</source>
        <translation>Texte exportieren</translation>
    </message>
    <message>
        <source>Import texts</source>
        <translation>Texte importieren</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>quillet::AboutBox</name>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Product Name: Quillet</source>
        <translation>Produktname: Quillet</translation>
    </message>
    <message>
        <source>Version: %1</source>
        <translation>Version: %1</translation>
    </message>
    <message>
        <source>Copyright (C) 2026 the Quillet developers</source>
        <translation>Copyright (C) 2026 die Quillet-Entwickler</translation>
    </message>
    <message>
        <source>Comments: Welcome to</source>
        <translation>Kommentar: Willkommen bei</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>quillet::FindDialog</name>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Look for:</source>
        <translation>Suchen nach:</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>&amp;HEX data</source>
        <translation>&amp;HEX-Daten</translation>
    </message>
    <message>
        <source>&amp;Text</source>
        <translation>&amp;Text</translation>
    </message>
    <message>
        <source>Text &amp;unicode</source>
        <translation>&amp;Unicode-Text</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>&amp;Suchen</translation>
    </message>
</context>
<context>
    <name>quillet::HexGrid</name>
    <message>
        <source>Offset</source>
        <translation>Offset</translation>
    </message>
</context>
<context>
    <name>quillet::MainWindow</name>
    <message>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Save &amp;as</source>
        <translation>Speichern &amp;unter</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>&amp;Suchen</translation>
    </message>
    <message>
        <source>Find &amp;next</source>
        <translation>&amp;Weitersuchen</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation>&amp;Ersetzen</translation>
    </message>
    <message>
        <source>Force uni&amp;code</source>
        <translation>&amp;Unicode erzwingen</translation>
    </message>
    <message>
        <source>&amp;Previous segment</source>
        <translation>&amp;Vorheriges Segment</translation>
    </message>
    <message>
        <source>Ne&amp;xt segment</source>
        <translation>&amp;Nächstes Segment</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Über</translation>
    </message>
    <message>
        <source>Open file</source>
        <translation>Datei öffnen</translation>
    </message>
    <message>
        <source>Save file as</source>
        <translation>Datei speichern unter</translation>
    </message>
    <message>
        <source>Delete current section</source>
        <translation>Aktuellen Abschnitt löschen</translation>
    </message>
    <message>
        <source>Force unicode</source>
        <translation>Unicode erzwingen</translation>
    </message>
    <message>
        <source>Find data</source>
        <translation>Daten suchen</translation>
    </message>
    <message>
        <source>Replace data</source>
        <translation>Daten ersetzen</translation>
    </message>
    <message>
        <source>&amp;Copy HEX</source>
        <translation>HEX &amp;kopieren</translation>
    </message>
    <message>
        <source>&amp;Previous unicode block</source>
        <translation>&amp;Vorheriger Unicode-Block</translation>
    </message>
    <message>
        <source>Ne&amp;xt unicode block</source>
        <translation>&amp;Nächster Unicode-Block</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>R&amp;edo</source>
        <translation>Wieder&amp;herstellen</translation>
    </message>
    <message>
        <source>&amp;Export texts...</source>
        <translation>Texte e&amp;xportieren …</translation>
    </message>
    <message>
        <source>&amp;Import texts...</source>
        <translation>Texte &amp;importieren …</translation>
    </message>
    <message>
        <source>Read segments a&amp;gain</source>
        <translation>Se&amp;gmente neu einlesen</translation>
    </message>
    <message>
        <source>&amp;Delete segment</source>
        <translation>Segment &amp;löschen</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>Open &amp;recent</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>Werkzeuge</translation>
    </message>
    <message>
        <source>There is not enough memory to finish this command.</source>
        <translation>Für diesen Befehl ist nicht genug Speicher frei.</translation>
    </message>
    <message>
        <source>%1[*] - %2</source>
        <comment>file name - program caption</comment>
        <translation>%1[*] – %2</translation>
    </message>
    <message>
        <source>&amp;%1 %2</source>
        <comment>number and path of a recent file</comment>
        <translation>&amp;%1 %2</translation>
    </message>
</context>
<context>
    <name>quillet::PlacementStorage</name>
    <message>
        <source>The window placement could not be saved.
%1</source>
        <translation>Die Fensterposition konnte nicht gespeichert werden.
%1</translation>
    </message>
</context>
<context>
    <name>quillet::ReplaceDialog</name>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Art:</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Start from:</source>
        <translation>Beginnen bei:</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Length texts not equal, resize not support for this operation!</source>
        <translation>Die Texte sind nicht gleich lang, und diese Aktion kann die Länge nicht ändern!</translation>
    </message>
    <message>
        <source>&amp;Look for:</source>
        <translation>&amp;Suchen nach:</translation>
    </message>
    <message>
        <source>Replace &amp;with:</source>
        <translation>Ersetzen &amp;durch:</translation>
    </message>
    <message>
        <source>&amp;HEX data</source>
        <translation>&amp;HEX-Daten</translation>
    </message>
    <message>
        <source>&amp;Text</source>
        <translation>&amp;Text</translation>
    </message>
    <message>
        <source>Text &amp;unicode</source>
        <translation>&amp;Unicode-Text</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation>&amp;Ersetzen</translation>
    </message>
    <message>
        <source>&amp;Begin </source>
        <translation>&amp;Anfang </translation>
    </message>
    <message>
        <source>&amp;Current pos</source>
        <translation>Aktuelle &amp;Position</translation>
    </message>
</context>
</TS>
