<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="de">
<context>
    <name>Backups</name>
    <message numerus="yes">
        <source>, %n ohne ihre Datei ausgelassen</source>
        <translation>
            <numerusform>, %n ohne ihre Datei ausgelassen</numerusform>
            <numerusform>, %n ohne ihre Datei ausgelassen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Der Sicherungsindex %1 wurde in die Aufzeichnungen übernommen: %n Einträge%2%3. Er liegt nun als %4.</source>
        <translation>
            <numerusform>Der Sicherungsindex %1 wurde in die Aufzeichnungen übernommen: %n Eintrag%2%3. Er liegt nun als %4.</numerusform>
            <numerusform>Der Sicherungsindex %1 wurde in die Aufzeichnungen übernommen: %n Einträge%2%3. Er liegt nun als %4.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message numerus="yes">
        <source>%n Felder wie im Rezept; gespeichert: %1</source>
        <translation>
            <numerusform>%n Feld wie im Rezept; gespeichert: %1</numerusform>
            <numerusform>%n Felder wie im Rezept; gespeichert: %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n Sicherungen</source>
        <translation>
            <numerusform>%n Sicherung</numerusform>
            <numerusform>%n Sicherungen</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Window</name>
    <message numerus="yes">
        <source>Das Schreiben ändert %n Werte im Gerät:</source>
        <translation>
            <numerusform>Das Schreiben ändert %n Wert im Gerät:</numerusform>
            <numerusform>Das Schreiben ändert %n Werte im Gerät:</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n Unterschiede.</source>
        <translation>
            <numerusform>%n Unterschied.</numerusform>
            <numerusform>%n Unterschiede.</numerusform>
        </translation>
    </message>
</context>
</TS>
