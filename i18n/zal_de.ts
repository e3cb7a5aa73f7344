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
    <message numerus="yes">
        <source>%n Codes, die %1 als vergeben nennt, in den Aufzeichnungen nachgetragen</source>
        <translation>
            <numerusform>%n Code, den %1 als vergeben nennt, in den Aufzeichnungen nachgetragen</numerusform>
            <numerusform>%n Codes, die %1 als vergeben nennt, in den Aufzeichnungen nachgetragen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n Codeblöcke sind in den Aufzeichnungen noch als reserviert vermerkt; der nächste Lauf mit %1 trägt sie nach</source>
        <translation>
            <numerusform>%n Codeblock ist in den Aufzeichnungen noch als reserviert vermerkt; der nächste Lauf mit %1 trägt ihn nach</numerusform>
            <numerusform>%n Codeblöcke sind in den Aufzeichnungen noch als reserviert vermerkt; der nächste Lauf mit %1 trägt sie nach</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n Festcodes aus den Abbildern gelten als vergeben (%1 neu)</source>
        <translation>
            <numerusform>%n Festcode aus den Abbildern gilt als vergeben (%1 neu)</numerusform>
            <numerusform>%n Festcodes aus den Abbildern gelten als vergeben (%1 neu)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Records</name>
    <message numerus="yes">
        <source>der Server hat %n Standby(s), aber seine Commits warten auf keinen (synchronous_standby_names ist leer): ein Failover kann vergebene Codes verlieren, die dann ein zweites Gerät bekommt</source>
        <translation>
            <numerusform>der Server hat %n Standby, aber seine Commits warten auf keinen (synchronous_standby_names ist leer): ein Failover kann vergebene Codes verlieren, die dann ein zweites Gerät bekommt</numerusform>
            <numerusform>der Server hat %n Standbys, aber seine Commits warten auf keinen (synchronous_standby_names ist leer): ein Failover kann vergebene Codes verlieren, die dann ein zweites Gerät bekommt</numerusform>
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
