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
        <source>HEX data</source>
        <translation>HEX-Daten</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Text unicode</source>
        <translation>Unicode-Text</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
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
    <name>quillet::ReplaceDialog</name>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>Look for:</source>
        <translation>Suchen nach:</translation>
    </message>
    <message>
        <source>Replace with:</source>
        <translation>Ersetzen durch:</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Art:</translation>
    </message>
    <message>
        <source>HEX data</source>
        <translation>HEX-Daten</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Text unicode</source>
        <translation>Unicode-Text</translation>
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
        <source>Begin </source>
        <translation>Anfang </translation>
    </message>
    <message>
        <source>Current pos</source>
        <translation>Aktuelle Position</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Length texts not equal, resize not support for this operation!</source>
        <translation>Die Texte sind nicht gleich lang, und diese Aktion kann die Länge nicht ändern!</translation>
    </message>
</context>
</TS>
