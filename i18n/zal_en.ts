<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="de">
<context>
    <name>Backups</name>
    <message>
        <source>Ordner %1 kann nicht angelegt werden</source>
        <translation>Folder %1 cannot be created</translation>
    </message>
    <message>
        <source>%1 steht dort schon</source>
        <translation>%1 is there already</translation>
    </message>
    <message numerus="yes">
        <source>, %n ohne ihre Datei ausgelassen</source>
        <translation>
            <numerusform>, %n left out without its file</numerusform>
            <numerusform>, %n left out without their file</numerusform>
        </translation>
    </message>
    <message>
        <source>; nicht lesbare Zeilen: %1</source>
        <translation>; unreadable lines: %1</translation>
    </message>
    <message numerus="yes">
        <source>Der Sicherungsindex %1 wurde in die Aufzeichnungen übernommen: %n Einträge%2%3. Er liegt nun als %4.</source>
        <translation>
            <numerusform>The backup index %1 was taken into the records: %n entry%2%3. It is now kept as %4.</numerusform>
            <numerusform>The backup index %1 was taken into the records: %n entries%2%3. It is now kept as %4.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 kann nicht geschrieben werden: %2</source>
        <translation>%1 cannot be written: %2</translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>(gesperrt)</source>
        <translation>(locked)</translation>
    </message>
    <message>
        <source>(leer)</source>
        <translation>(empty)</translation>
    </message>
    <message>
        <source>%1 nimmt %2 nicht</source>
        <translation>%1 does not take %2</translation>
    </message>
    <message>
        <source>%1 kann nicht geschrieben werden: -o braucht einen Dateinamen, keinen Ordner</source>
        <translation>cannot write %1: -o needs a file name, not a folder</translation>
    </message>
    <message>
        <source>nur line nimmt mehr als eine KBX</source>
        <translation>only line takes more than one KBX</translation>
    </message>
    <message>
        <source>unterbrochen; die KBX ist geschlossen</source>
        <translation>interrupted; the KBX is closed</translation>
    </message>
    <message>
        <source>unterbrochen, bevor %1 gespeichert wurde</source>
        <translation>interrupted before %1 was saved</translation>
    </message>
    <message>
        <source>nichts würde sich ändern: das Gerät hält diese Konfiguration bereits</source>
        <translation>nothing would change: the device holds this configuration already</translation>
    </message>
    <message>
        <source>nichts hat sich geändert: das Gerät hielt diese Konfiguration bereits</source>
        <translation>nothing changed: the device held this configuration already</translation>
    </message>
    <message>
        <source>geschrieben; die geänderten Felder werden nicht gelistet, da die Sicherung vor dem Schreiben aus ist</source>
        <translation>written; the fields it changed are not listed, as backups before writes are off</translation>
    </message>
    <message>
        <source>dieses Produkt lernt keine Funkcodes für seine Positionen</source>
        <translation>this product does not learn radio codes for its positions</translation>
    </message>
    <message>
        <source>%1 bleibt, wie es war</source>
        <translation>%1 is left as it was</translation>
    </message>
    <message>
        <source>kein Sendercode angekommen; %1 bleibt, wie es war</source>
        <translation>no transmitter code arrived; %1 is left as it was</translation>
    </message>
    <message>
        <source>die Festcodes dieses Produkts zu ändern braucht --changecodes</source>
        <translation>changing the fixed codes of this product needs --changecodes</translation>
    </message>
    <message>
        <source>MUVE+ nimmt nur den eigenen Code des Geräts; die Festcodes folgen daraus</source>
        <translation>MUVE+ takes the device&apos;s own code alone; the fixed codes follow from it</translation>
    </message>
    <message>
        <source>höchstens sechs Codes</source>
        <translation>at most six codes</translation>
    </message>
    <message>
        <source>&quot;%1&quot; ist kein Festcode (vier Hexadezimalziffern); nichts wurde geschrieben</source>
        <translation>&quot;%1&quot; is no fixed code (four hexadecimal digits); nothing was written</translation>
    </message>
    <message>
        <source>%1 wird als Festcode abgelehnt; nichts wurde geschrieben</source>
        <translation>%1 is refused as a fixed code; nothing was written</translation>
    </message>
    <message>
        <source>%1 ist ein Servicebefehl (--service)</source>
        <translation>%1 is a service command (--service)</translation>
    </message>
    <message>
        <source>unbekanntes Produkt %1</source>
        <translation>unknown product %1</translation>
    </message>
    <message>
        <source>NAME=WERT erwartet, nicht %1</source>
        <translation>expected NAME=VALUE, got %1</translation>
    </message>
    <message>
        <source>kein Feld %1</source>
        <translation>no field %1</translation>
    </message>
    <message>
        <source>%1 wird bei diesem Produkt und dieser Version nicht verwendet</source>
        <translation>%1 is not in use for this product and version</translation>
    </message>
    <message>
        <source>%1 kann nicht geändert werden (gesperrt)</source>
        <translation>%1 cannot be changed (disabled)</translation>
    </message>
    <message>
        <source>Taste &apos;%1&apos; von %2 verworfen</source>
        <translation>key &apos;%1&apos; dropped by %2</translation>
    </message>
    <message>
        <source>eine Auswahlliste nimmt v:WERT oder i:INDEX, nicht %1</source>
        <translation>a drop-down takes v:VALUE or i:INDEX, got %1</translation>
    </message>
    <message>
        <source>%1 hat keinen Eintrag %2</source>
        <translation>%1 has no item %2</translation>
    </message>
    <message>
        <source>ein Kontrollkästchen nimmt 1 oder 0, nicht %1</source>
        <translation>a check box takes 1 or 0, got %1</translation>
    </message>
    <message>
        <source>%1 ist eine Schaltfläche</source>
        <translation>%1 is a button</translation>
    </message>
    <message>
        <source>%1 wurde nicht geöffnet</source>
        <translation>%1 was not opened</translation>
    </message>
    <message>
        <source>%1 hat den verlangten Wert nicht angenommen; es enthält &quot;%2&quot;</source>
        <translation>%1 did not take the value asked for; it holds &quot;%2&quot;</translation>
    </message>
    <message>
        <source>nichts wurde gespeichert</source>
        <translation>nothing was saved</translation>
    </message>
    <message>
        <source>beide Dateien müssen sich öffnen lassen</source>
        <translation>both files must open</translation>
    </message>
    <message>
        <source>die KBX hat nicht geantwortet</source>
        <translation>the KBX did not answer</translation>
    </message>
    <message>
        <source>keine KBX gefunden</source>
        <translation>no KBX found</translation>
    </message>
    <message>
        <source>nicht durchsucht (ohne libftdi1 gebaut)</source>
        <translation>not searched (built without libftdi1)</translation>
    </message>
    <message>
        <source>kein FTDI-Gerät eingesteckt</source>
        <translation>no FTDI device plugged in</translation>
    </message>
    <message>
        <source>nicht gesetzt</source>
        <translation>not set</translation>
    </message>
    <message>
        <source>KBX antwortet &quot;%1&quot;</source>
        <translation>KBX answers &quot;%1&quot;</translation>
    </message>
    <message>
        <source>geöffnet, aber keine KBX antwortet</source>
        <translation>opened, but no KBX answers</translation>
    </message>
    <message>
        <source>kann nicht geöffnet werden</source>
        <translation>cannot be opened</translation>
    </message>
    <message>
        <source>%1 wurde nicht geöffnet; kein Gerät wurde berührt</source>
        <translation>%1 was not opened; no device was touched</translation>
    </message>
    <message>
        <source>%1 kann kein erster Festcode sein</source>
        <translation>%1 cannot be a first fixed code</translation>
    </message>
    <message>
        <source>%1; es können keine Codes vergeben werden, kein Gerät wurde berührt</source>
        <translation>%1; no codes can be handed out, no device was touched</translation>
    </message>
    <message>
        <source>%1 Codes aus %2 als vergeben in die Aufzeichnungen übernommen</source>
        <translation>%1 codes of %2 taken into the records as handed out</translation>
    </message>
    <message>
        <source>die Aufzeichnungen konnten nicht aktualisiert werden (%1); der Lauf geht weiter, seine Geräte stehen in %2</source>
        <translation>the records could not be updated (%1); the run goes on, its devices are in %2</translation>
    </message>
    <message>
        <source>keine KBX konnte verwendet werden; kein Gerät wurde berührt</source>
        <translation>no KBX could be used; no device was touched</translation>
    </message>
    <message>
        <source>der Lauf hat angehalten: %1</source>
        <translation>the run stopped: %1</translation>
    </message>
    <message>
        <source>die Aufzeichnungen konnten nicht jedes Gerät des Laufs aufnehmen (%1); %2 enthält sie alle</source>
        <translation>the records could not take every device of the run (%1); %2 has them all</translation>
    </message>
    <message>
        <source>%1 geschrieben, %2 abgelehnt oder fehlgeschlagen; Protokoll %3</source>
        <translation>%1 written, %2 refused or failed; log %3</translation>
    </message>
    <message>
        <source>%1 braucht zalctl-report, das nicht gefunden wurde: %2</source>
        <translation>%1 needs zalctl-report, which was not found in %2</translation>
    </message>
    <message>
        <source>unbekannter Befehl &apos;%1&apos;</source>
        <translation>unknown command &apos;%1&apos;</translation>
    </message>
    <message>
        <source>%1 nimmt nichts weiter, auch nicht %2</source>
        <translation>%1 takes nothing more, not %2</translation>
    </message>
    <message>
        <source>%1 braucht ein Objekt wie {&quot;text&quot;: &quot;5&quot;}, {&quot;value&quot;: 1} oder {&quot;checked&quot;: true}</source>
        <translation>%1 needs an object such as {&quot;text&quot;: &quot;5&quot;}, {&quot;value&quot;: 1} or {&quot;checked&quot;: true}</translation>
    </message>
    <message>
        <source>%1 ist ein Eingabefeld: es nimmt {&quot;text&quot;: &quot;...&quot;}, eine Zeichenkette</source>
        <translation>%1 is an entry field: it takes {&quot;text&quot;: &quot;...&quot;}, a string</translation>
    </message>
    <message>
        <source>%1 nimmt &quot;value&quot; als ganze Zahl</source>
        <translation>%1 takes &quot;value&quot; as a whole number</translation>
    </message>
    <message>
        <source>%1 hat keinen Eintrag mit dem Wert %2</source>
        <translation>%1 has no item of value %2</translation>
    </message>
    <message>
        <source>%1 nimmt &quot;index&quot; als ganze Zahl</source>
        <translation>%1 takes &quot;index&quot; as a whole number</translation>
    </message>
    <message>
        <source>%1 nimmt &quot;text&quot; als Zeichenkette</source>
        <translation>%1 takes &quot;text&quot; as a string</translation>
    </message>
    <message>
        <source>%1 hat keinen Eintrag &quot;%2&quot;</source>
        <translation>%1 has no item &quot;%2&quot;</translation>
    </message>
    <message>
        <source>%1 ist eine Auswahlliste: sie nimmt &quot;value&quot;, &quot;index&quot; oder &quot;text&quot;</source>
        <translation>%1 is a drop-down: it takes &quot;value&quot;, &quot;index&quot; or &quot;text&quot;</translation>
    </message>
    <message>
        <source>%1 ist ein Kontrollkästchen: es nimmt {&quot;checked&quot;: true} oder false</source>
        <translation>%1 is a check box: it takes {&quot;checked&quot;: true} or false</translation>
    </message>
    <message>
        <source>%1 ist größer, als ein Rezept sein darf (1 MiB)</source>
        <translation>%1 is larger than a recipe may be (1 MiB)</translation>
    </message>
    <message>
        <source>%1 ist kein Rezept (ein JSON-Objekt mit &quot;fields&quot;)</source>
        <translation>%1 is no recipe (a JSON object with &quot;fields&quot;)</translation>
    </message>
    <message>
        <source>%1 nennt &quot;%2&quot; zweimal; nichts wurde gespeichert</source>
        <translation>%1 names &quot;%2&quot; twice; nothing was saved</translation>
    </message>
    <message>
        <source>%1; nichts wurde gespeichert</source>
        <translation>%1; nothing was saved</translation>
    </message>
    <message>
        <source>%1 kann bei diesem Produkt und dieser Version nicht geändert werden; es enthält &quot;%2&quot;</source>
        <translation>%1 cannot be changed for this product and version; it holds &quot;%2&quot;</translation>
    </message>
    <message>
        <source>%1 braucht einen Wert; ohne die Option wird jedes Gerät gelistet</source>
        <translation>%1 needs a value; leave it out to list every device</translation>
    </message>
    <message>
        <source>--since %1 ist kein Datum (2026-12-07) und keine Zeit (2026-12-07T10:15:00)</source>
        <translation>--since %1 is not a date (2026-12-07) or a time (2026-12-07T10:15:00)</translation>
    </message>
    <message>
        <source>die Aufzeichnungen können nicht gelesen werden: %1</source>
        <translation>the records cannot be read: %1</translation>
    </message>
    <message>
        <source>keine Sicherung eines Geräts mit der Seriennummer %1 in den Aufzeichnungen</source>
        <translation>no backup of a device with serial number %1 in the records</translation>
    </message>
    <message>
        <source>%1 ist weder eine Datei noch eine Sicherung der Aufzeichnungen; nichts wurde geschrieben</source>
        <translation>%1 is neither a file nor a backup the records hold; nothing was written</translation>
    </message>
    <message>
        <source>%1 ist weder eine Datei noch eine Sicherung der Aufzeichnungen (%2); nichts wurde geschrieben</source>
        <translation>%1 is neither a file nor a backup the records hold (%2); nothing was written</translation>
    </message>
    <message>
        <source>%1 wurde nicht geöffnet; nichts wurde geschrieben</source>
        <translation>%1 was not opened; nothing was written</translation>
    </message>
    <message>
        <source>dies schreibt die Sicherung von %1 %2 (%3) in das Gerät; mit --yes geschieht es</source>
        <translation>this writes the backup of %1 %2 (%3) into the device; add --yes to do it</translation>
    </message>
    <message>
        <source>zurückgeschrieben: %1</source>
        <translation>restored %1</translation>
    </message>
    <message>
        <source>die Aufzeichnungen kennen kein Gerät mit der Seriennummer %1</source>
        <translation>the records hold no device with serial number %1</translation>
    </message>
    <message>
        <source>(die erste Sicherung dieses Geräts in den Aufzeichnungen)</source>
        <translation>(the first backup of this device in the records)</translation>
    </message>
    <message>
        <source>(kein Feld geändert)</source>
        <translation>(no field changed)</translation>
    </message>
    <message>
        <source>%1 kann nicht geschrieben werden: %2</source>
        <translation>cannot write %1: %2</translation>
    </message>
    <message>
        <source>Supportinformationen gespeichert in %1</source>
        <translation>support information saved in %1</translation>
    </message>
    <message>
        <source>%1 ist auch die Eingabe; --yes ersetzt sie</source>
        <translation>%1 is the input as well; --yes replaces it</translation>
    </message>
    <message>
        <source>%1 ist eine Konfigurationsdatei; --yes ersetzt sie</source>
        <translation>%1 is a configuration file; --yes replaces it</translation>
    </message>
    <message>
        <source>die Ausgabe kann nicht geschrieben werden: %1</source>
        <translation>cannot write the output: %1</translation>
    </message>
    <message>
        <source>falscher Aufruf</source>
        <translation>wrong usage</translation>
    </message>
    <message>
        <source>der Befehl ist fehlgeschlagen</source>
        <translation>the command failed</translation>
    </message>
    <message>
        <source>Daten- und Konfigurationsordner einrichten, Values.ini und die Standardabbilder installieren und
die Ordner mit ihrem Inhalt ausgeben</source>
        <translation>settle the data and configuration folders, install Values.ini and the default images, and print
the folders and what they hold</translation>
    </message>
    <message>
        <source>eine neue Konfiguration aus dem Standardabbild des Produkts (VERSION: V1.x, V20, V21, V22); mit -o
als FILE gespeichert</source>
        <translation>a new configuration from the product&apos;s default image (VERSION: V1.x, V20, V21, V22); with -o
saved as FILE</translation>
    </message>
    <message>
        <source>FILE öffnen, wie der Editor es tut, und seine vier Seiten ausgeben (oder JSON)</source>
        <translation>open FILE as the editor does and print its four pages (or JSON)</translation>
    </message>
    <message>
        <source>Felder ändern, wie ein Techniker es täte (Eingabefelder Taste für Taste, Auswahllisten v:WERT oder
i:INDEX, Kontrollkästchen 1 oder 0), dann speichern</source>
        <translation>change fields as a technician would (entry fields typed key by key, drop-downs v:STORED or
i:INDEX, check boxes 1 or 0), then save</translation>
    </message>
    <message>
        <source>die Felder setzen, die ein Rezept nennt ({&quot;fields&quot;: {NAME: {&quot;text&quot;|&quot;value&quot;|&quot;index&quot;|&quot;checked&quot;: ...}}},
die Form von show --json), wie set es tut, dann speichern</source>
        <translation>set the fields a recipe names ({&quot;fields&quot;: {NAME: {&quot;text&quot;|&quot;value&quot;|&quot;index&quot;|&quot;checked&quot;: ...}}},
the form of show --json) as set does, then save</translation>
    </message>
    <message>
        <source>die Felder auflisten, deren angezeigte Werte sich unterscheiden</source>
        <translation>list the fields whose shown values differ</translation>
    </message>
    <message>
        <source>der Konfigurationsbericht: jede Seite, Beschriftung und jeder angezeigte Wert</source>
        <translation>the configuration report: every page, caption and shown value</translation>
    </message>
    <message>
        <source>die von Geräten aufbewahrten Abbilder (bei jedem Lesen und vor jedem Schreiben), an jeder Station der
Aufzeichnungen; --since nimmt ein Datum (2026-12-07) oder eine Zeit</source>
        <translation>the images kept from devices (on every read and before every write), at every station the
records hold; --since takes a date (2026-12-07) or a time</translation>
    </message>
    <message>
        <source>eine Zeile je Gerät der Aufzeichnungen: Produkt, Version, Seriennummer, Funk-ID, zuletzt gesehen,
Station, Sicherungen, Festcodes</source>
        <translation>one row per device the records know: product, version, serial, radio ID, last seen, station,
backups, fixed codes</translation>
    </message>
    <message>
        <source>die Geschichte eines Geräts: jede Sicherung mit den Feldern, die sich seit der vorigen geändert haben</source>
        <translation>a device&apos;s history: each backup with the fields that changed since the one before it</translation>
    </message>
    <message>
        <source>das Supportprotokoll, Versionen, KBX-Informationen, eine Übersicht der Aufzeichnungen und Values.ini (-o FILE.zip)</source>
        <translation>the support log, versions, KBX information, a summary of the records and Values.ini (-o FILE.zip)</translation>
    </message>
    <message>
        <source>die Konfiguration des Geräts lesen (mit -o als FILE gespeichert)</source>
        <translation>read the device&apos;s configuration (with -o saved as FILE)</translation>
    </message>
    <message>
        <source>FILE in das Gerät schreiben und prüfen, dann die geänderten Felder auflisten;
mit --preview auflisten, was sich ändern würde, und nichts schreiben</source>
        <translation>write FILE into the device and verify it, then list the fields it changed;
with --preview list what it would change and write nothing</translation>
    </message>
    <message>
        <source>den Code eines Senders über Funk in die Funkposition 1-8 einlernen</source>
        <translation>learn a transmitter&apos;s code over the air into radio position 1-8</translation>
    </message>
    <message>
        <source>die festen Funk-ID-Codes des Geräts ändern (aus dem ersten allein folgen die übrigen)</source>
        <translation>change the device&apos;s fixed radio ID codes (the first alone derives the rest)</translation>
    </message>
    <message>
        <source>Service: das Versionsbyte eines Geräts mit V1.x-Firmware setzen</source>
        <translation>service: set the version byte of a device with V1.x firmware</translation>
    </message>
    <message>
        <source>Fertigungslinie: FILE in jedes Gerät schreiben, das an die KBX (oder an mehrere zugleich) kommt,
wahlweise mit dem nächsten Block Festcodes, eine CSV-Zeile je Gerät; Strg+C endet nach dem
Gerät in Arbeit</source>
        <translation>production line: write FILE into each device put behind the KBX (or each of several at once),
optionally with the next block of fixed codes, one CSV row per device; Ctrl+C ends after the
device under way</translation>
    </message>
    <message>
        <source>die KBX nach ihrem Informationstext fragen</source>
        <translation>ask the KBX for its information text</translation>
    </message>
    <message>
        <source>jede KBX, die das Programm sieht: FTDI-USB-Geräte (zugänglich oder nicht) und das tty von ZAL_KBX_PORT</source>
        <translation>every KBX the tool can see: FTDI USB devices (accessible or not) and the tty of ZAL_KBX_PORT</translation>
    </message>
    <message>
        <source>das ganze Abbild des Geräts lesen: ein Hex-Dump oder eine rohe Sicherungsdatei</source>
        <translation>read the device&apos;s whole image: a hex dump, or a raw backup file</translation>
    </message>
    <message>
        <source>die Programmversion ausgeben</source>
        <translation>print the program version</translation>
    </message>
    <message>
        <source>Befehle:</source>
        <translation>Commands:</translation>
    </message>
    <message>
        <source>Die Befehle, die einen Editor anlegen, nehmen --service und --changecodes, die wie die Schalter
-SERVICE und -CHANGECODES des Programms wirken; --yes beantwortet Fragen mit Ja (sonst Nein).
Meldungen gehen als &quot;&lt;Art&gt; &lt;Nummer&gt;: &lt;Text&gt;&quot; auf die Standardfehlerausgabe. Exit-Code 0, wenn der
Befehl getan hat, was verlangt war, 1, wenn er abgelehnt wurde oder fehlschlug, 2 bei falschem Aufruf.

--port PATH oder --kbx SERIAL (die USB-Seriennummer der Einheit) wählen die KBX eines Gerätebefehls.
Sonst ist die KBX das tty, das ZAL_KBX_PORT nennt (ein kbx-sim-Pseudoterminal oder /dev/ttyUSB0),
sonst die Einheit, die an ihrer USB-Beschreibung erkannt wird. ZAL_KBX_TRACE=1 schreibt jeden Rahmen
auf die Standardfehlerausgabe.</source>
        <translation>The commands that make an editor take --service and --changecodes, which act as the program&apos;s
-SERVICE and -CHANGECODES switches; --yes answers questions Yes (else No).
Messages go to standard error as &quot;&lt;kind&gt; &lt;number&gt;: &lt;text&gt;&quot;. Exit code 0 when the command
did what was asked, 1 when it was refused or failed, 2 for wrong usage.

--port PATH or --kbx SERIAL (the unit&apos;s USB serial number) choose the KBX of a device command.
Otherwise the KBX is the tty named by ZAL_KBX_PORT (a kbx-sim pseudo-terminal or /dev/ttyUSB0),
else the unit found by its USB description. ZAL_KBX_TRACE=1 logs every frame to standard error.</translation>
    </message>
    <message>
        <source>Optionen:</source>
        <translation>Options:</translation>
    </message>
    <message>
        <source>dieser Text</source>
        <translation>this text</translation>
    </message>
    <message>
        <source>die Fragen des Programms mit Ja beantworten (sonst Nein); eine vorhandene Ausgabe ersetzen</source>
        <translation>answer the program&apos;s questions Yes (else No); replace an existing output</translation>
    </message>
    <message>
        <source>der Servicemodus, wie -SERVICE des Programms</source>
        <translation>the service mode, as the program&apos;s -SERVICE</translation>
    </message>
    <message>
        <source>der Festcode-Modus, wie -CHANGECODES des Programms</source>
        <translation>the fixed-code mode, as the program&apos;s -CHANGECODES</translation>
    </message>
    <message>
        <source>ein JSON-Dokument ausgeben, auch wenn der Befehl fehlschlägt</source>
        <translation>print one JSON document, also when the command fails</translation>
    </message>
    <message>
        <source>auch Felder ändern, die für das Produkt gesperrt sind</source>
        <translation>change fields that are disabled for the product</translation>
    </message>
    <message>
        <source>die zu schreibende Datei</source>
        <translation>the file to write</translation>
    </message>
    <message>
        <source>nach S Sekunden aufgeben</source>
        <translation>give up after S seconds</translation>
    </message>
    <message>
        <source>nur das Gerät mit der Seriennummer S</source>
        <translation>only the device with serial number S</translation>
    </message>
    <message>
        <source>das Format des Berichts (sonst die Endung von OUT)</source>
        <translation>the report&apos;s format (else OUT&apos;s extension)</translation>
    </message>
    <message>
        <source>die KBX mit dieser USB-Seriennummer</source>
        <translation>the KBX with this USB serial number</translation>
    </message>
    <message>
        <source>die KBX an diesem tty (ein kbx-sim-Pseudoterminal, /dev/ttyUSB0)</source>
        <translation>the KBX at this tty (a kbx-sim pseudo-terminal, /dev/ttyUSB0)</translation>
    </message>
    <message>
        <source>nach N Geräten aufhören</source>
        <translation>stop after N devices</translation>
    </message>
    <message>
        <source>jedem Gerät den nächsten Block Festcodes geben, beginnend bei FIRSTCODE</source>
        <translation>give each device the next block of fixed codes, starting at FIRSTCODE</translation>
    </message>
    <message>
        <source>das CSV-Protokoll, eine Zeile je Gerät</source>
        <translation>the CSV log, one row per device</translation>
    </message>
    <message>
        <source>auflisten, was sich ändern würde, und nichts schreiben</source>
        <translation>list what would change and write nothing</translation>
    </message>
    <message>
        <source>erst ab DATE (2026-12-07) oder einer Zeit (2026-12-07T10:15)</source>
        <translation>only from DATE (2026-12-07) or a time (2026-12-07T10:15) on</translation>
    </message>
    <message>
        <source>nur die der Station NAME</source>
        <translation>only those of the station NAME</translation>
    </message>
    <message>
        <source>die Aufzeichnungen kennen keine Sicherung, in %1 liegen aber %2 Sicherungsdateien; zalctl records rebuild nimmt sie auf</source>
        <translation>the records know no backup, but %1 holds %2 backup files; zalctl records rebuild takes them in</translation>
    </message>
    <message>
        <source>%1 Dateien in %2 sind keine Abbilder und wurden übergangen</source>
        <translation>%1 files in %2 are no images and were passed over</translation>
    </message>
    <message>
        <source>die Aufzeichnungen konnten nicht aufgebaut werden: %1</source>
        <translation>the records could not be rebuilt: %1</translation>
    </message>
    <message>
        <source>%1 von %2 Sicherungsdateien in die Aufzeichnungen aufgenommen, die übrigen standen schon darin</source>
        <translation>%1 of %2 backup files taken into the records, the others were there already</translation>
    </message>
    <message>
        <source>die Aufzeichnungen konnten nicht ausgegeben werden: %1</source>
        <translation>the records could not be exported: %1</translation>
    </message>
    <message>
        <source>die Tabellen als CSV-Dateien in den Ordner DIR</source>
        <translation>the tables as CSV files into the folder DIR</translation>
    </message>
    <message>
        <source>das Protokoll %1 kann nicht geschrieben werden: %2; nichts wurde berührt</source>
        <translation>the log %1 cannot be written: %2; nothing was touched</translation>
    </message>
    <message>
        <source>es ist die Konfigurationsdatei</source>
        <translation>it is the configuration file</translation>
    </message>
    <message>
        <source>eine Sicherung (eine Datei oder ein Name aus der Liste, auch einer anderen Station) genau so in das
Gerät schreiben, wie sie aufbewahrt wurde, und prüfen; in ein anderes Gerät nur mit --config-only oder --replace</source>
        <translation>write a backup (a file, or a name from the list, also another station&apos;s) into the device exactly as
it was kept, and verify it; into another device only with --config-only or --replace</translation>
    </message>
    <message>
        <source>%1 zeigt nur, was Datei oder Gerät halten, und kann nicht geändert werden</source>
        <translation>%1 only shows what the file or the device holds and cannot be changed</translation>
    </message>
    <message>
        <source>--config-only und --replace schließen einander aus</source>
        <translation>--config-only and --replace exclude each other</translation>
    </message>
    <message>
        <source>nichts geschrieben; --config-only oder --replace sagt, was in ein anderes Gerät geht</source>
        <translation>nothing written; --config-only or --replace says what goes into another device</translation>
    </message>
    <message>
        <source>ersetzt durch %1 am %2</source>
        <translation>replaced by %1 on %2</translation>
    </message>
    <message>
        <source>in ein anderes Gerät nur die Konfiguration: es behält seine Funk ID-Codes und Seriennummer</source>
        <translation>into another device only the configuration: it keeps its radio ID codes and serial number</translation>
    </message>
    <message>
        <source>das Gerät ersetzt das der Sicherung und übernimmt dessen Funk ID-Codes (die Aufzeichnungen vermerken es)</source>
        <translation>the device replaces the backup&apos;s device and takes over its radio ID codes (the records note it)</translation>
    </message>
    <message>
        <source>POSITION ist 1-8, die Wartezeit in Sekunden</source>
        <translation>POSITION is 1-8, the timeout in seconds</translation>
    </message>
    <message>
        <source>mit --service</source>
        <translation>with --service</translation>
    </message>
    <message>
        <source>(oder FILE -o OUT allein: Speichern unter)</source>
        <translation>(or FILE -o OUT alone: Save As)</translation>
    </message>
    <message numerus="yes">
        <source>%n Sicherungen</source>
        <translation>
            <numerusform>%n backup</numerusform>
            <numerusform>%n backups</numerusform>
        </translation>
    </message>
    <message>
        <source>SERIAL ist die Seriennummer eines Geräts</source>
        <translation>SERIAL is a device&apos;s serial number</translation>
    </message>
    <message>
        <source>-o und ein Format (--format oder die Endung von OUT) sind nötig</source>
        <translation>-o and a format (--format, or OUT&apos;s extension) are needed</translation>
    </message>
    <message>
        <source>-o FILE.zip ist nötig</source>
        <translation>-o FILE.zip is needed</translation>
    </message>
    <message numerus="yes">
        <source>%n Felder wie im Rezept; gespeichert: %1</source>
        <translation>
            <numerusform>%n field as the recipe asks; saved %1</numerusform>
            <numerusform>%n fields as the recipe asks; saved %1</numerusform>
        </translation>
    </message>
    <message>
        <source>USB-Bus %1, Gerät %2: FTDI-Gerät, Zugriff verweigert (die udev-Regel 70-zal-kbx.rules installieren)</source>
        <translation>USB bus %1 device %2: FTDI device, access denied (install the udev rule 70-zal-kbx.rules)</translation>
    </message>
    <message>
        <source>USB-Bus %1, Gerät %2: &quot;%3&quot; Seriennummer %4 - KBX, Zugriff verweigert (die udev-Regel 70-zal-kbx.rules installieren)</source>
        <translation>USB bus %1 device %2: &quot;%3&quot; serial %4 - KBX, access denied (install the udev rule 70-zal-kbx.rules)</translation>
    </message>
    <message>
        <source>USB-Bus %1, Gerät %2: &quot;%3&quot; Seriennummer %4 - Zugriff verweigert (die udev-Regel 70-zal-kbx.rules installieren)</source>
        <translation>USB bus %1 device %2: &quot;%3&quot; serial %4 - access denied (install the udev rule 70-zal-kbx.rules)</translation>
    </message>
    <message>
        <source>USB-Bus %1, Gerät %2: &quot;%3&quot; Seriennummer %4 - KBX</source>
        <translation>USB bus %1 device %2: &quot;%3&quot; serial %4 - KBX</translation>
    </message>
    <message>
        <source>USB-Bus %1, Gerät %2: &quot;%3&quot; Seriennummer %4 - keine KBX</source>
        <translation>USB bus %1 device %2: &quot;%3&quot; serial %4 - not a KBX</translation>
    </message>
    <message>
        <source>jede Sicherungsdatei dieser Station wieder in die Aufzeichnungen aufnehmen (verlorene oder leere
Aufzeichnungen): das Gerät aus dem Abbild, die Zeit aus dem Namen; die Festcodes der Abbilder und
jedes mit --log genannten Protokolls gelten als vergeben</source>
        <translation>take every backup file of this station back into the records (lost or empty
records): the device from the image, the time from the name; the fixed codes of the images and
of every log named with --log count as handed out</translation>
    </message>
    <message>
        <source>%1. Kein Gerät wurde berührt. Den Standby synchron machen (README, &quot;A server with a standby&quot;), oder mit --allow-async-standby trotzdem vergeben</source>
        <translation>%1. No device was touched. Make the standby synchronous (README, &quot;A server with a standby&quot;), or hand out codes all the same with --allow-async-standby</translation>
    </message>
    <message numerus="yes">
        <source>%n Codes, die %1 als vergeben nennt, in den Aufzeichnungen nachgetragen</source>
        <translation>
            <numerusform>%n code that %1 names as handed out brought up to date in the records</numerusform>
            <numerusform>%n codes that %1 names as handed out brought up to date in the records</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n Codeblöcke sind in den Aufzeichnungen noch als reserviert vermerkt; der nächste Lauf mit %1 trägt sie nach</source>
        <translation>
            <numerusform>%n code block is still marked reserved in the records; the next run with %1 brings it up to date</numerusform>
            <numerusform>%n code blocks are still marked reserved in the records; the next run with %1 brings them up to date</numerusform>
        </translation>
    </message>
    <message>
        <source>das Protokoll %1 kann nicht gelesen werden: %2</source>
        <translation>the log %1 cannot be read: %2</translation>
    </message>
    <message numerus="yes">
        <source>%n Festcodes aus den Abbildern gelten als vergeben (%1 neu)</source>
        <translation>
            <numerusform>%n fixed code of the images counts as handed out (%1 new)</numerusform>
            <numerusform>%n fixed codes of the images count as handed out (%1 new)</numerusform>
        </translation>
    </message>
    <message>
        <source>die Codes aus %1 konnten nicht aufgenommen werden: %2</source>
        <translation>the codes of %1 could not be taken in: %2</translation>
    </message>
    <message>
        <source>nicht wiederhergestellt: Ersatzvermerke, Produktionsläufe und ihre Zeilen, und die Festcodes von Geräten ohne Sicherung hier. Jedes Protokoll einer Fertigungslinie mit --log nennen und records rebuild an jeder Station laufen lassen, die Sicherungen hat, bevor wieder Codes vergeben werden</source>
        <translation>not recovered: replacement notes, production runs and their rows, and the fixed codes of devices without a backup here. Name every production line log with --log, and run records rebuild at every station that keeps backups, before codes are handed out again</translation>
    </message>
    <message>
        <source>Codes auch vergeben, wenn der Server der Aufzeichnungen keinen synchronen Standby hat (jede Zeile des Protokolls vermerkt es)</source>
        <translation>hand out codes even when the records&apos; server has no synchronous standby (every row of the log says so)</translation>
    </message>
    <message>
        <source>%1 (--allow-async-standby; jede Zeile vermerkt es)</source>
        <translation>%1 (--allow-async-standby; every row says so)</translation>
    </message>
    <message>
        <source>das SQL, das auf einem PostgreSQL-Server die Rolle ROLE (zal_station) der Stationen anlegt: sie
reserviert Codes, fügt Sicherungen und Zeilen hinzu und vermerkt, was aus ihren Codes wurde, und löscht nichts</source>
        <translation>the SQL that sets up the stations&apos; role ROLE (zal_station) on a PostgreSQL server: it
reserves codes, adds backups and rows and records what became of its codes, and deletes nothing</translation>
    </message>
    <message>
        <source>ROLE ist ein einfacher Name aus Buchstaben, Ziffern und _, nicht %1</source>
        <translation>ROLE is a plain name of letters, digits and _, not %1</translation>
    </message>
    <message>
        <source>Gerät: %1 %2, Seriennummer %3</source>
        <translation>Device: %1 %2, serial number %3</translation>
    </message>
    <message>
        <source>%1 gehört zur Produktinformation und kann auch mit --force nicht geändert werden</source>
        <translation>%1 is part of the product information and cannot be changed, not even with --force</translation>
    </message>
    <message>
        <source>Die Sicherung von vor dem Schreiben, „%1“, schreibt „zalctl backups restore %1“ zurück in das Gerät.</source>
        <translation>The backup from before the write, “%1”, goes back into the device with “zalctl backups restore %1”.</translation>
    </message>
    <message>
        <source>(nach der Übertragung, geprüft)</source>
        <translation>(after the transfer, verified)</translation>
    </message>
    <message>
        <source>unbekannte Option &apos;%1&apos;</source>
        <translation>unknown option &apos;%1&apos;</translation>
    </message>
    <message>
        <source>; meinten Sie &apos;%1&apos;?</source>
        <translation>; did you mean &apos;%1&apos;?</translation>
    </message>
    <message>
        <source>zalctl --help listet die Befehle</source>
        <translation>zalctl --help lists the commands</translation>
    </message>
    <message>
        <source>Warnung: %1</source>
        <translation>warning: %1</translation>
    </message>
    <message>
        <source>--serial %1 ist keine Seriennummer (Ziffern, oder zehn Hexadezimalziffern eines MUVE+ II)</source>
        <translation>--serial %1 is no serial number (digits, or the ten hexadecimal digits of a MUVE+ II)</translation>
    </message>
    <message>
        <source>die Aufzeichnungen für eine Tabellenkalkulation, jede Tabelle (Sicherungen ohne Abbilder, Geräte,
Ereignisse, Stationen, Produktionsläufe und ihre Zeilen, Festcodes): je eine CSV-Datei in DIR oder
ein Blatt der Arbeitsmappe FILE.xlsx (Codes, Seriennummern und Versionen als Text, Zeiten als Datum)</source>
        <translation>the records for a spreadsheet, every table (backups without images, devices, events, stations,
production runs and their rows, fixed codes): a CSV file each in DIR or a sheet each of the
workbook FILE.xlsx (codes, serial numbers and versions as text, times as dates)</translation>
    </message>
    <message>
        <source>--csv DIR nennt den Ordner, in den die Tabellen kommen, -o FILE.xlsx die Arbeitsmappe</source>
        <translation>--csv DIR names the folder the tables go into, -o FILE.xlsx the workbook</translation>
    </message>
    <message>
        <source>(fehlt)</source>
        <translation>(missing)</translation>
    </message>
    <message>
        <source>%1 Bytes</source>
        <translation>%1 bytes</translation>
    </message>
    <message>
        <source>Einstellungen (Herkunft, Name=Wert):</source>
        <translation>Settings (origin, name=value):</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>Umgebung %1</source>
        <translation>environment %1</translation>
    </message>
    <message>
        <source>Installationsordner</source>
        <translation>Install folder</translation>
    </message>
    <message>
        <source>Datenordner</source>
        <translation>Data folder</translation>
    </message>
    <message>
        <source>Konfigurationsordner</source>
        <translation>Configuration folder</translation>
    </message>
    <message>
        <source>Standard-Konfigurationsordner</source>
        <translation>Default configuration folder</translation>
    </message>
    <message>
        <source>Einstellungsdatei</source>
        <translation>Settings file</translation>
    </message>
    <message>
        <source>Aufzeichnungen</source>
        <translation>Records</translation>
    </message>
    <message>
        <source>das Rezept %1 kann nicht gelesen werden: %2</source>
        <translation>cannot read the recipe %1: %2</translation>
    </message>
    <message>
        <source>-o - (die Konfiguration auf der Standardausgabe) und --json schließen einander aus</source>
        <translation>-o - (the configuration on standard output) and --json exclude each other</translation>
    </message>
    <message>
        <source>eine Konfiguration wird unter der Endung ihres Produkts gespeichert (%1), nicht unter .%2</source>
        <translation>a configuration is saved with its product&apos;s extension (%1), not .%2</translation>
    </message>
    <message>
        <source>%1 wurde nicht gespeichert: eine Konfiguration von %2 endet auf %3</source>
        <translation>%1 was not saved: a %2 configuration ends in %3</translation>
    </message>
    <message>
        <source>gespeichert als %1</source>
        <translation>saved as %1</translation>
    </message>
    <message>
        <source>Zeit</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Gerät</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>Seriennummer</source>
        <translation>Serial</translation>
    </message>
    <message>
        <source>Funk-ID</source>
        <translation>Radio ID</translation>
    </message>
    <message>
        <source>Befehl</source>
        <translation>Command</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>Station</translation>
    </message>
    <message>
        <source>Datei</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Zuletzt gesehen</source>
        <translation>Last seen</translation>
    </message>
    <message>
        <source>Sicherungen</source>
        <translation>Backups</translation>
    </message>
    <message>
        <source>Festcodes</source>
        <translation>Fixed codes</translation>
    </message>
    <message>
        <source>Spaltenköpfe und ausgerichtete Spalten auch, wenn die Ausgabe kein Terminal ist</source>
        <translation>column heads and aligned columns also when the output is no terminal</translation>
    </message>
    <message>
        <source>%1 braucht einen Wert</source>
        <translation>%1 needs a value</translation>
    </message>
    <message>
        <source>Service: das Standardabbild eines Produkts schreiben (MODEL: %DEFAULTS%)</source>
        <translation>service: write a product&apos;s default image (MODEL: %DEFAULTS%)</translation>
    </message>
    <message>
        <source>MODEL ist eines von %DEFAULTS% (mit --service)</source>
        <translation>MODEL is one of %DEFAULTS% (with --service)</translation>
    </message>
    <message>
        <source>Produkte sind %PRODUCTS%; Versionen V1.x, V20, V21, V22</source>
        <translation>products are %PRODUCTS%; versions V1.x, V20, V21, V22</translation>
    </message>
    <message>
        <source>die Datei als Produkt P öffnen (%PRODUCTS%)</source>
        <translation>open the file as product P (%PRODUCTS%)</translation>
    </message>
    <message>
        <source>%1 hat die Version %2 nicht; Versionen: %3</source>
        <translation>%1 has no version %2; versions: %3</translation>
    </message>
</context>
<context>
    <name>Editor</name>
    <message>
        <source>Die Sicherung %1 wurde gespeichert, die Aufzeichnungen konnten aber nicht aktualisiert werden (%2); sie wird nachgetragen, sobald sie erreichbar sind.</source>
        <translation>The backup %1 was saved, but the records could not be updated (%2); it will be added as soon as they can be reached.</translation>
    </message>
    <message>
        <source>Die KBX hat keinen Informationstext geliefert.</source>
        <translation>The KBX returned no information text.</translation>
    </message>
    <message>
        <source>Lesen abgebrochen – der Editor ist unverändert</source>
        <translation>Reading cancelled – the editor is unchanged</translation>
    </message>
    <message>
        <source>Es wurde nichts in das Gerät geschrieben; es ist unverändert.</source>
        <translation>Nothing was written to the device; it is unchanged.</translation>
    </message>
    <message>
        <source>Bevor der Vorgang endete, gingen an das Gerät: Adressen %1.</source>
        <translation>Before the operation ended, the device was sent: addresses %1.</translation>
    </message>
    <message>
        <source> Vor dem Schreiben wurde keine Sicherung angelegt.</source>
        <translation> No backup was made before the write.</translation>
    </message>
    <message>
        <source>Schreiben abgebrochen</source>
        <translation>Writing cancelled</translation>
    </message>
    <message>
        <source>Vorschau der Änderungen</source>
        <translation>Preview of the changes</translation>
    </message>
    <message>
        <source>Schreiben abgebrochen – nichts wurde geschrieben</source>
        <translation>Writing cancelled – nothing was written</translation>
    </message>
    <message>
        <source>Schreiben abgebrochen.

</source>
        <translation>Writing cancelled.

</translation>
    </message>
    <message>
        <source>

Soll das Gerät jetzt zurückbekommen, was es vor dem Schreiben hielt?</source>
        <translation>

Should the device now get back what it held before the write?</translation>
    </message>
    <message>
        <source>Das Gerät hält wieder, was es vor dem Schreiben hielt.</source>
        <translation>The device holds again what it held before the write.</translation>
    </message>
    <message>
        <source>Das Zurückschreiben ist fehlgeschlagen. </source>
        <translation>Writing it back failed. </translation>
    </message>
    <message>
        <source>Schreiben abgebrochen, Gerät wiederhergestellt</source>
        <translation>Writing cancelled, device restored</translation>
    </message>
    <message>
        <source>Schreiben abgebrochen, Wiederherstellung fehlgeschlagen</source>
        <translation>Writing cancelled, restoring failed</translation>
    </message>
    <message>
        <source>%1 / %2: %3 statt %4</source>
        <translation>%1 / %2: %3 instead of %4</translation>
    </message>
    <message>
        <source>Nicht angenommen wurden Bytes, die kein Feld zeigt.</source>
        <translation>The device did not take bytes that no field shows.</translation>
    </message>
    <message>
        <source>Nicht angenommen wurden:
</source>
        <translation>The device did not take:
</translation>
    </message>
    <message>
        <source>Das Gerät konnte zur Überprüfung nicht gelesen werden. </source>
        <translation>The device could not be read for the verification. </translation>
    </message>
    <message>
        <source>0x%1: %2 statt %3</source>
        <translation>0x%1: %2 instead of %3</translation>
    </message>
    <message>
        <source>

Angeschlossen ist: %1 %2, Seriennummer %3.</source>
        <translation>

Connected: %1 %2, serial number %3.</translation>
    </message>
    <message>
        <source>Nichts wurde zurückgeschrieben: ein anderes Gerät ist jetzt angeschlossen, %1 statt %2. </source>
        <translation>Nothing was written back: another device is connected now, %1 instead of %2. </translation>
    </message>
    <message>
        <source>Schreiben abgebrochen, anderes Gerät angeschlossen</source>
        <translation>Writing cancelled, another device connected</translation>
    </message>
    <message>
        <source>Die Sicherung ist von %1 %2, angeschlossen ist %1 %3.</source>
        <translation>The backup is of %1 %2, the connected device is %1 %3.</translation>
    </message>
    <message>
        <source>

Nur die Konfiguration: das angeschlossene Gerät behält seine eigenen Funk ID-Codes und seine Seriennummer.
Ersetzen: es übernimmt auch die Funk ID-Codes von %1 %2 (ein defektes Gerät wird ersetzt, die Empfänger müssen nicht neu lernen); die Aufzeichnungen vermerken %1 %2 als ersetzt.

Solange beide Geräte dieselben Funk ID-Codes haben, können sie gegenseitig Alarme auslösen.</source>
        <translation>

Configuration only: the connected device keeps its own radio ID codes and its serial number.
Replace: it also takes over the radio ID codes of %1 %2 (a broken device is replaced, the receivers need not learn again); the records note %1 %2 as replaced.

As long as both devices have the same radio ID codes, they can set off each other&apos;s alarms.</translation>
    </message>
    <message>
        <source>&amp;Nur Konfiguration</source>
        <translation>&amp;Configuration only</translation>
    </message>
    <message>
        <source>&amp;Ersetzen</source>
        <translation>&amp;Replace</translation>
    </message>
    <message>
        <source> Nichts wurde geschrieben: die Sicherung eines anderen Geräts geht nur als Konfiguration oder als Ersatz hinein.</source>
        <translation> Nothing was written: the backup of another device goes in only as its configuration or as a replacement.</translation>
    </message>
    <message>
        <source>%1 hat %2 ersetzt, die Aufzeichnungen konnten das aber nicht vermerken: %3</source>
        <translation>%1 replaced %2, but the records could not note it: %3</translation>
    </message>
    <message>
        <source>Ein anderes Gerät ist jetzt angeschlossen: %1 statt %2. Nichts wurde geschrieben.</source>
        <translation>Another device is connected now: %1 instead of %2. Nothing was written.</translation>
    </message>
    <message>
        <source>Das Gerät antwortet seit der Vorschau nicht mehr.</source>
        <translation>The device has not answered since the preview.</translation>
    </message>
    <message>
        <source>Ein anderes Gerät ist jetzt angeschlossen: %1 statt %2, das die Vorschau zeigte.</source>
        <translation>Another device is connected now: %1 instead of %2, which the preview showed.</translation>
    </message>
    <message>
        <source>Das Gerät hat sich seit der Vorschau geändert.</source>
        <translation>The device has changed since the preview.</translation>
    </message>
    <message>
        <source>Sicherung fehlgeschlagen: %1</source>
        <translation>Backup failed: %1</translation>
    </message>
    <message>
        <source>Nicht angenommen wurden die Bytes %1.</source>
        <translation>The device did not take the bytes %1.</translation>
    </message>
    <message>
        <source>Das Gerät wurde während des Lesens getauscht: erst %1, dann %2. Der Editor ist unverändert; bitte erneut lesen.</source>
        <translation>The device was swapped during the read: first %1, then %2. The editor is unchanged; please read again.</translation>
    </message>
    <message>
        <source>Das Gerät wurde während des Lesens getauscht: erst %1, dann %2. Nichts wurde geschrieben und nichts gesichert.</source>
        <translation>The device was swapped during the read: first %1, then %2. Nothing was written and nothing was backed up.</translation>
    </message>
    <message>
        <source>Ein anderes Gerät ist jetzt angeschlossen: %1 statt %2.</source>
        <translation>Another device is connected now: %1 instead of %2.</translation>
    </message>
    <message>
        <source> Nichts wurde geschrieben.</source>
        <translation> Nothing was written.</translation>
    </message>
    <message>
        <source> In %1 gingen, in dieser Reihenfolge: Adressen %2.</source>
        <translation> %1 received, in this order: addresses %2.</translation>
    </message>
    <message>
        <source> In %1 oder schon in %2 gingen, in dieser Reihenfolge: Adressen %3; beide können einen Teil der neuen Konfiguration halten.</source>
        <translation> %1, or already %2, received, in this order: addresses %3; both may hold part of the new configuration.</translation>
    </message>
    <message>
        <source> Danach gingen in %1 oder schon in %2: Adressen %3; beide können einen Teil der neuen Konfiguration halten.</source>
        <translation> After that, %1 or already %2 received: addresses %3; both may hold part of the new configuration.</translation>
    </message>
    <message>
        <source>Die Sicherung von vor dem Schreiben, „%1“, kann unter „Datei &gt; Sicherungen“ zurück in das Gerät geschrieben werden.</source>
        <translation>The backup from before the write, “%1”, can be written back into the device under “File &gt; Backups”.</translation>
    </message>
    <message>
        <source>Bytes ohne Feld</source>
        <translation>Bytes without a field</translation>
    </message>
    <message>
        <source>Adresse %1</source>
        <translation>Address %1</translation>
    </message>
    <message>
        <source>Im langen Protokoll ist die lange Seriennummer die Funk-ID; %1 behält seine eigene, die Empfänger müssen sie neu lernen.</source>
        <translation>In the long protocol the long serial number is the radio ID; %1 keeps its own, and the receivers must learn it again.</translation>
    </message>
    <message>
        <source> – das Gerät behält seine Seriennummer und Funk-IDs</source>
        <translation> – the device keeps its serial number and radio IDs</translation>
    </message>
    <message>
        <source>Die Aufzeichnungen konnten nicht festhalten, was das Gerät jetzt hält: %1</source>
        <translation>The records could not keep what the device holds now: %1</translation>
    </message>
    <message>
        <source>Rückgängig: %1</source>
        <translation>Undo: %1</translation>
    </message>
    <message>
        <source>Wiederholen: %1</source>
        <translation>Redo: %1</translation>
    </message>
    <message>
        <source>Sicherungen sind schreibgeschützt. Mit „%1“ behalten Sie eine Kopie mit Ihren Änderungen.</source>
        <translation>Backups are read-only. With “%1” you keep a copy with your changes.</translation>
    </message>
    <message>
        <source>Die Konfiguration hat ungespeicherte Änderungen. Möchten Sie sie speichern, bevor eine andere an ihre Stelle tritt?</source>
        <translation>The configuration has unsaved changes. Do you want to save them before another takes its place?</translation>
    </message>
    <message>
        <source>Ein anderes Gerät ist jetzt angeschlossen: %1 statt %2. Die Funk ID-Codes wurden nicht geschrieben.</source>
        <translation>Another device is connected now: %1 instead of %2. The radio ID codes were not written.</translation>
    </message>
</context>
<context>
    <name>Files</name>
    <message>
        <source>ein Blockgerät oder Socket wird weder beschrieben noch ersetzt</source>
        <translation>a block device or a socket is neither written nor replaced</translation>
    </message>
    <message>
        <source>niemand liest daraus</source>
        <translation>nobody reads from it</translation>
    </message>
</context>
<context>
    <name>ImageFile</name>
    <message>
        <source>Die Datei %1 gibt es nicht.</source>
        <translation>There is no file %1.</translation>
    </message>
    <message>
        <source>%1 ist ein Ordner, keine Konfigurationsdatei.</source>
        <translation>%1 is a folder, not a configuration file.</translation>
    </message>
    <message>
        <source>%1 ist keine gewöhnliche Datei.</source>
        <translation>%1 is not a regular file.</translation>
    </message>
    <message>
        <source>Keine Berechtigung, %1 zu lesen.</source>
        <translation>No permission to read %1.</translation>
    </message>
    <message>
        <source>%1 ist %2 Bytes groß; eine Konfiguration hat %3 Bytes.</source>
        <translation>%1 holds %2 bytes; a configuration has %3.</translation>
    </message>
</context>
<context>
    <name>Kbx</name>
    <message>
        <source>Ein FTDI-USB-Gerät wurde gefunden, aber der Zugriff darauf wurde verweigert. Installieren Sie die udev-Regel 70-zal-kbx.rules (sie kommt mit dem Paket) und stecken Sie die KBX neu ein (zalctl kbx-list zeigt, was zu sehen ist).</source>
        <translation>An FTDI USB device was found, but access to it was denied. Install the udev rule 70-zal-kbx.rules (it comes with the package) and plug the KBX in again (zalctl kbx-list shows what is seen).</translation>
    </message>
    <message>
        <source>Die KBX %1 wurde gefunden, aber der Zugriff darauf wurde verweigert. Installieren Sie die udev-Regel 70-zal-kbx.rules (sie kommt mit dem Paket) oder nehmen Sie den Benutzer in die Gruppe plugdev auf, und stecken Sie die KBX neu ein.</source>
        <translation>The KBX %1 was found, but access to it was denied. Install the udev rule 70-zal-kbx.rules (it comes with the package), or add the user to the group plugdev, and plug the KBX in again.</translation>
    </message>
    <message>
        <source>Die KBX wird von einem anderen Programm verwendet.</source>
        <translation>The KBX is in use by another program.</translation>
    </message>
    <message>
        <source>Die KBX wurde getrennt (%1).</source>
        <translation>The KBX was disconnected (%1).</translation>
    </message>
    <message>
        <source>Die KBX wurde getrennt (%1 %2).</source>
        <translation>The KBX was disconnected (%1 %2).</translation>
    </message>
    <message>
        <source>Die KBX an %1 wird von einem anderen Programm verwendet.</source>
        <translation>The KBX at %1 is in use by another program.</translation>
    </message>
    <message>
        <source>Die KBX an %1 wurde gefunden, aber der Zugriff darauf wurde verweigert. Installieren Sie die udev-Regel 70-zal-kbx.rules (sie kommt mit dem Paket) und stecken Sie die KBX neu ein, oder treten Sie der Gruppe bei, der %1 gehört (meist dialout).</source>
        <translation>The KBX at %1 was found, but access to it was denied. Install the udev rule 70-zal-kbx.rules (it comes with the package) and plug the KBX in again, or join the group that owns %1 (usually dialout).</translation>
    </message>
    <message>
        <source>%1 gibt es nicht: die für die KBX angegebene Schnittstelle existiert nicht. Ist die KBX eingesteckt, und stimmt der Name?</source>
        <translation>There is no %1: the port given for the KBX does not exist. Is the KBX plugged in, and is the name right?</translation>
    </message>
    <message>
        <source>%1 ist ein Ordner, nicht die serielle Schnittstelle der KBX.</source>
        <translation>%1 is a folder, not the KBX&apos;s serial port.</translation>
    </message>
    <message>
        <source>%1 konnte nicht geöffnet werden: %2</source>
        <translation>%1 could not be opened: %2</translation>
    </message>
    <message>
        <source>%1 ist keine serielle Schnittstelle, also kann keine KBX dahinter sein.</source>
        <translation>%1 is not a serial port, so no KBX can be behind it.</translation>
    </message>
    <message>
        <source>Die KBX an %1 wird von einem anderen Programm verwendet (Prozess %2).</source>
        <translation>The KBX at %1 is in use by another program (process %2).</translation>
    </message>
    <message>
        <source>Es ist kein FTDI-USB-Gerät eingesteckt: ist die KBX angeschlossen?</source>
        <translation>No FTDI USB device is plugged in: is the KBX connected?</translation>
    </message>
    <message>
        <source>meldete einen Ein-/Ausgabefehler</source>
        <translation>gave an I/O error</translation>
    </message>
    <message>
        <source>hat die Verbindung beendet</source>
        <translation>hung up</translation>
    </message>
</context>
<context>
    <name>Line</name>
    <message>
        <source>KBX nicht gefunden</source>
        <translation>KBX not found</translation>
    </message>
    <message>
        <source>KBX nicht gefunden: %1</source>
        <translation>KBX not found: %1</translation>
    </message>
    <message>
        <source>die KBX antwortet nicht (hat sie Strom, und ist es eine KBX?)</source>
        <translation>the KBX does not answer (is it powered, and is it a KBX?)</translation>
    </message>
    <message>
        <source>diese Einheit kann nicht verwendet werden; sie nimmt nicht am Lauf teil</source>
        <translation>this unit cannot be used; it takes no part in the run</translation>
    </message>
    <message>
        <source>warte auf ein Gerät</source>
        <translation>waiting for a device</translation>
    </message>
    <message>
        <source>Gerät gefunden: %1</source>
        <translation>device found: %1</translation>
    </message>
    <message>
        <source>das Gerät entfernen</source>
        <translation>remove the device</translation>
    </message>
    <message>
        <source>keine gewöhnliche Datei</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>keine Protokolldatei dieses Programms (ihre erste Zeile ist nicht der Kopf des Protokolls)</source>
        <translation>no log of this program (its first line is not the log&apos;s header)</translation>
    </message>
    <message>
        <source>das Protokoll konnte nicht geschrieben werden (%1); der Lauf hält an</source>
        <translation>the log could not be written (%1); the run stops</translation>
    </message>
    <message>
        <source>%1 %2: %3 (%4 ms)</source>
        <translation>%1 %2: %3 (%4 ms)</translation>
    </message>
    <message>
        <source>%1 %2: %3 (%4 ms), Codes %5</source>
        <translation>%1 %2: %3 (%4 ms), codes %5</translation>
    </message>
    <message>
        <source>die Aufzeichnungen haben die Codes %1 noch einmal vergeben, die dieser Lauf oder sein Protokoll schon vergeben hat: sie haben Reservierungen verloren</source>
        <translation>the records handed out the codes %1 again, which this run or its log handed out already: they have lost reservations</translation>
    </message>
    <message>
        <source>die Aufzeichnungen sind nicht erreichbar; warte höchstens %1 s, dass ein Standby übernimmt</source>
        <translation>the records cannot be reached; waiting at most %1 s for a standby to take over</translation>
    </message>
    <message>
        <source>die Aufzeichnungen konnten die neuen Codes von %1 nicht festhalten: %2</source>
        <translation>the records could not keep the new codes of %1: %2</translation>
    </message>
</context>
<context>
    <name>Maps</name>
    <message>
        <source>&apos;%1&apos; ist kein gültiger Gleitkommawert</source>
        <translation>&apos;%1&apos; is not a valid floating point value</translation>
    </message>
    <message>
        <source>&apos;%1&apos; ist kein gültiger ganzzahliger Wert</source>
        <translation>&apos;%1&apos; is not a valid integer value</translation>
    </message>
</context>
<context>
    <name>Products</name>
    <message>
        <source>Funksender mit verkableten Eingängen</source>
        <translation>Radio transmitter with wired inputs</translation>
    </message>
    <message>
        <source>BORA Konfigurationsdatei</source>
        <translation>BORA configuration file</translation>
    </message>
    <message>
        <source>Schreibe ,Default BORA&apos; in Gerät</source>
        <translation>Write &apos;Default BORA&apos; to device</translation>
    </message>
    <message>
        <source>Sende/Empfänger für verkabelete Ein/Ausgänge</source>
        <translation>Transmitter/receiver for wired inputs/outputs</translation>
    </message>
    <message>
        <source>ZAL Konfigurationsdatei</source>
        <translation>ZAL configuration file</translation>
    </message>
    <message>
        <source>Schreibe ,Default ZAL&apos; in Gerät</source>
        <translation>Write &apos;Default ZAL&apos; to device</translation>
    </message>
    <message>
        <source>Funkrepeater zur Vergrößerung der Funkreichweite</source>
        <translation>Radio repeater to extend the radio range</translation>
    </message>
    <message>
        <source>MUVE Konfigurationsdatei</source>
        <translation>MUVE configuration file</translation>
    </message>
    <message>
        <source>Schreibe ,Default MUVE&apos; in Gerät</source>
        <translation>Write &apos;Default MUVE&apos; to device</translation>
    </message>
    <message>
        <source>Funkempfänger mit verkabeltem Ausgang</source>
        <translation>Radio receiver with wired output</translation>
    </message>
    <message>
        <source>DORF Konfigurationsdatei</source>
        <translation>DORF configuration file</translation>
    </message>
    <message>
        <source>Schreibe ,Default DORF&apos; in Gerät</source>
        <translation>Write &apos;Default DORF&apos; to device</translation>
    </message>
    <message>
        <source>Dualband Funkrepaeter zur Vergrößerung der Funkreichweite</source>
        <translation>Dual-band radio repeater to extend the radio range</translation>
    </message>
    <message>
        <source>MUVE+ Konfigurationsdatei</source>
        <translation>MUVE+ configuration file</translation>
    </message>
    <message>
        <source>MUVE+ II Konfigurationsdatei</source>
        <translation>MUVE+ II configuration file</translation>
    </message>
    <message>
        <source>Sende/Empfänger wie ZAL, nur in Version V22</source>
        <translation>Transmitter/receiver like ZAL, in version V22 only</translation>
    </message>
    <message>
        <source>KARO Konfigurationsdatei</source>
        <translation>KARO configuration file</translation>
    </message>
    <message>
        <source>Schreibe ,Default KARO&apos; in Gerät</source>
        <translation>Write 'Default KARO' to device</translation>
    </message>
</context>
<context>
    <name>Radio</name>
    <message>
        <source>Unbekannt</source>
        <translation>Unknown</translation>
    </message>
</context>
<context>
    <name>Records</name>
    <message>
        <source>Die Aufzeichnungen müssen ein absoluter Pfad oder eine postgresql://-URL sein, nicht &quot;%1&quot;</source>
        <translation>The records must be an absolute path or a postgresql:// URL, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>die Aufzeichnungen stammen von einer neueren Version dieses Programms (Schema %1; dieses Programm kennt %2)</source>
        <translation>the records were made by a newer version of this program (schema %1; this program knows %2)</translation>
    </message>
    <message>
        <source>die Aufzeichnungen %1 sind hier nur lesbar</source>
        <translation>the records %1 are read-only here</translation>
    </message>
    <message>
        <source>Der PostgreSQL-Treiber von Qt ist nicht installiert (libqt6sql6-psql)</source>
        <translation>Qt&apos;s PostgreSQL driver is not installed (libqt6sql6-psql)</translation>
    </message>
    <message>
        <source>Der SQLite-Treiber von Qt ist nicht installiert (libqt6sql6-sqlite)</source>
        <translation>Qt&apos;s SQLite driver is not installed (libqt6sql6-sqlite)</translation>
    </message>
    <message>
        <source>Der Zugriff auf die Aufzeichnungen wurde abgebrochen: ein Halt wurde verlangt</source>
        <translation>The records call was cancelled: a stop was asked for</translation>
    </message>
    <message>
        <source>Die Aufzeichnungen %1 können nicht geöffnet werden: %2</source>
        <translation>The records database %1 cannot be opened: %2</translation>
    </message>
    <message>
        <source>Die Aufzeichnungen können nicht verwendet werden: %1</source>
        <translation>The records database cannot be used: %1</translation>
    </message>
    <message>
        <source>Die Aufzeichnungen %1 enthalten nichts und können nicht beschrieben werden</source>
        <translation>The records database %1 holds no records and cannot be written</translation>
    </message>
    <message>
        <source>Die Aufzeichnungen konnten nicht auf Version %1 gebracht werden: %2</source>
        <translation>The records database could not be brought to version %1: %2</translation>
    </message>
    <message>
        <source>Der Server der Aufzeichnungen hat nicht innerhalb von %1 s geantwortet</source>
        <translation>The records server did not answer within %1 s</translation>
    </message>
    <message>
        <source>kein freier Block von %1 festen Codes nach %2</source>
        <translation>no free block of %1 fixed codes after %2</translation>
    </message>
    <message>
        <source>es konnte kein freier Block fester Codes reserviert werden: %1</source>
        <translation>no free block of fixed codes could be reserved: %1</translation>
    </message>
    <message>
        <source>%1 ist kein Ordner, der beschrieben werden kann</source>
        <translation>%1 is no folder that can be written</translation>
    </message>
    <message>
        <source>%1 kann nicht geschrieben werden: %2</source>
        <translation>%1 cannot be written: %2</translation>
    </message>
    <message>
        <source>ein Halt wurde verlangt, bevor der Standby das Festschreiben bestätigt hat</source>
        <translation>a stop was asked for before the standby confirmed the commit</translation>
    </message>
    <message>
        <source>der Standby hat das Festschreiben nicht innerhalb von %1 s bestätigt (der Server hält es nur bei sich; ein Failover kann es verlieren)</source>
        <translation>the standby has not confirmed the commit within %1 s (the server keeps it only locally; a failover can lose it)</translation>
    </message>
    <message>
        <source>die Reservierung der Codes %1 gilt nicht: %2</source>
        <translation>the reservation of the codes %1 does not count: %2</translation>
    </message>
    <message numerus="yes">
        <source>der Server hat %n Standby(s), aber seine Commits warten auf keinen (synchronous_standby_names ist leer): ein Failover kann vergebene Codes verlieren, die dann ein zweites Gerät bekommt</source>
        <translation>
            <numerusform>the server has %n standby, but its commits wait for none (synchronous_standby_names is empty): a failover can lose codes handed out, which a second device then gets</numerusform>
            <numerusform>the server has %n standbys, but its commits wait for none (synchronous_standby_names is empty): a failover can lose codes handed out, which a second device then gets</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 enthält ein Passwort; es gehört in ~/.pgpass (Modus 0600) oder die Datei, die PGPASSFILE nennt, nie in die URL</source>
        <translation>%1 holds a password; it belongs in ~/.pgpass (mode 0600) or the file PGPASSFILE names, never in the URL</translation>
    </message>
    <message>
        <source>%1 ist keine URL</source>
        <translation>%1 is no URL</translation>
    </message>
    <message>
        <source>in %1 folgt auf &quot;]&quot; kein &quot;:PORT&quot;</source>
        <translation>in %1, &quot;]&quot; is not followed by &quot;:PORT&quot;</translation>
    </message>
    <message>
        <source>in %1 ist eine eckige Klammer nicht geschlossen</source>
        <translation>in %1, a square bracket is not closed</translation>
    </message>
    <message>
        <source>in %1 ist der Port &quot;%2&quot; keine Zahl</source>
        <translation>in %1, the port &quot;%2&quot; is no number</translation>
    </message>
    <message>
        <source>%1 nennt die unbekannte Option &quot;%2&quot;; bekannt sind %3</source>
        <translation>%1 names the unknown option &quot;%2&quot;; known are %3</translation>
    </message>
    <message>
        <source>%1: %2=%3 ist keine Dauer (eine ganze Zahl in ms, oder mit ms, s oder min: 500ms, 2s, 1min)</source>
        <translation>%1: %2=%3 is no duration (a whole number of ms, or with ms, s or min: 500ms, 2s, 1min)</translation>
    </message>
    <message>
        <source>%1: der Wert von %2 kann nicht weitergegeben werden</source>
        <translation>%1: the value of %2 cannot be passed on</translation>
    </message>
    <message>
        <source>die Tabelle %1 hat mehr Zeilen, als ein Blatt fasst; --csv gibt sie ganz aus</source>
        <translation>the table %1 has more rows than a sheet holds; --csv writes it whole</translation>
    </message>
</context>
<context>
    <name>Report</name>
    <message>
        <source>Datei</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Datum</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>(aus Gerät ausgelesen)</source>
        <translation>(read from device)</translation>
    </message>
    <message>
        <source>(nicht gespeichert)</source>
        <translation>(not saved)</translation>
    </message>
    <message>
        <source>dd.MM.yyyy HH:mm</source>
        <translation>dd/MM/yyyy HH:mm</translation>
    </message>
    <message>
        <source>Konfigurationsbericht</source>
        <translation>Configuration report</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>Wert</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Verwendet</source>
        <translation>In use</translation>
    </message>
    <message>
        <source>Einheit</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>ja</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>nein</source>
        <translation>no</translation>
    </message>
    <message>
        <source>Seite;Gruppe;Parameter;Wert;Einheit;Verwendet;Feld</source>
        <translation>Page;Group;Parameter;Value;Unit;In use;Field</translation>
    </message>
    <message>
        <source>Bericht;Gerät;%1;%2;;;</source>
        <translation>Report;Device;%1;%2;;;</translation>
    </message>
</context>
<context>
    <name>Result</name>
    <message>
        <source>erfolgreich</source>
        <translation>succeeded</translation>
    </message>
    <message>
        <source>abgelehnt</source>
        <translation>refused</translation>
    </message>
    <message>
        <source>fehlgeschlagen</source>
        <translation>failed</translation>
    </message>
    <message>
        <source>abgebrochen</source>
        <translation>cancelled</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source> (ein „;“ nach dem Wert beginnt keinen Kommentar: Kommentare stehen auf einer eigenen Zeile)</source>
        <translation> (a “;” after the value starts no comment: comments stand on a line of their own)</translation>
    </message>
    <message>
        <source>: weder 0 noch 1; es gilt %1</source>
        <translation>: neither 0 nor 1; %1 is used</translation>
    </message>
    <message>
        <source>: keine ganze Zahl über 0; es gilt %1</source>
        <translation>: no whole number above 0; %1 is used</translation>
    </message>
    <message>
        <source>: es gilt der ganze Text</source>
        <translation>: the whole text is used</translation>
    </message>
    <message>
        <source>: keine Dauer (500ms, 2s, 1min); es gilt der Standardwert</source>
        <translation>: no duration (500ms, 2s, 1min); the default is used</translation>
    </message>
    <message>
        <source>: gilt nur für Aufzeichnungen auf einem PostgreSQL-Server; SQLite wartet bis zu 10 s auf eine Sperre</source>
        <translation>: only for records on a PostgreSQL server; SQLite waits up to 10 s for a lock</translation>
    </message>
    <message>
        <source>: ohne Einheit; es gilt %1 ms, wie PostgreSQL es liest (%1s für Sekunden)</source>
        <translation>: no unit; %1 ms is used, as PostgreSQL reads it (%1s for seconds)</translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message>
        <source>Willkommen im Vesk Programm zur Konfiguration der ZAL Produktfamilie</source>
        <translation>Welcome to the Vesk program for configuring the ZAL product family</translation>
    </message>
    <message>
        <source>Bitte Produkt für Konfiguration wählen</source>
        <translation>Please select the product to configure</translation>
    </message>
    <message>
        <source>&amp;Datei</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Neu</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>Neu version</source>
        <translation>New version</translation>
    </message>
    <message>
        <source>V1.x</source>
        <translation>V1.x</translation>
    </message>
    <message>
        <source>V20.xx</source>
        <translation>V20.xx</translation>
    </message>
    <message>
        <source>V21.xx</source>
        <translation>V21.xx</translation>
    </message>
    <message>
        <source>V22.xx</source>
        <translation>V22.xx</translation>
    </message>
    <message>
        <source>&amp;Öffnen</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>&amp;Speichern</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Speichern &amp;als...</source>
        <translation>Save &amp;as...</translation>
    </message>
    <message>
        <source>Wähle Standard&amp;verzeichnis...</source>
        <translation>Select default &amp;folder...</translation>
    </message>
    <message>
        <source>&amp;Beenden</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>&amp;Kommunikation</source>
        <translation>&amp;Communication</translation>
    </message>
    <message>
        <source>&amp;Lese aus Gerät</source>
        <translation>&amp;Read from device</translation>
    </message>
    <message>
        <source>&amp;Schreibe in Gerät</source>
        <translation>&amp;Write to device</translation>
    </message>
    <message>
        <source>Schreibe Byte für Version in v1.x Gerät</source>
        <translation>Write version byte to v1.x device</translation>
    </message>
    <message>
        <source>Ändere feste Funk-ID Codes</source>
        <translation>Change fixed radio ID codes</translation>
    </message>
    <message>
        <source>&amp;Hilfe</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;Über..</source>
        <translation>&amp;About..</translation>
    </message>
    <message>
        <source>Wähle Standardverzeichnis</source>
        <translation>Select default folder</translation>
    </message>
    <message>
        <source>Standardverzeichnis</source>
        <translation>Default folder</translation>
    </message>
    <message>
        <source>Das unten angegebene Verzeichnis gibt den voreingestellten Speicherort für die K-ORBA Konfigurationsdateien an.</source>
        <translation>The folder given below is the default location for the K-ORBA configuration files.</translation>
    </message>
    <message>
        <source>&amp;Suchen...</source>
        <translation>&amp;Browse...</translation>
    </message>
    <message>
        <source>Wähle neues Standardverzeichnis</source>
        <translation>Select new default folder</translation>
    </message>
    <message>
        <source>Funkeingänge</source>
        <translation>Radio inputs</translation>
    </message>
    <message>
        <source>Standorte</source>
        <translation>Locations</translation>
    </message>
    <message>
        <source>Verkabelte Eingänge</source>
        <translation>Wired inputs</translation>
    </message>
    <message>
        <source>Weitere</source>
        <translation>More</translation>
    </message>
    <message>
        <source>Funksender</source>
        <translation>Radio transmitter</translation>
    </message>
    <message>
        <source>Aktion</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>Auslösetyp</source>
        <translation>Trigger type</translation>
    </message>
    <message>
        <source>Einstellungen Analogeingänge</source>
        <translation>Analogue input settings</translation>
    </message>
    <message>
        <source>Diverse</source>
        <translation>Miscellaneous</translation>
    </message>
    <message>
        <source>Funk</source>
        <translation>Radio</translation>
    </message>
    <message>
        <source>Produkt Info</source>
        <translation>Product info</translation>
    </message>
    <message>
        <source>Funk ID&apos;s</source>
        <translation>Radio IDs</translation>
    </message>
    <message>
        <source>Position 1</source>
        <translation>Position 1</translation>
    </message>
    <message>
        <source>Position 2</source>
        <translation>Position 2</translation>
    </message>
    <message>
        <source>Position 3</source>
        <translation>Position 3</translation>
    </message>
    <message>
        <source>Position 4</source>
        <translation>Position 4</translation>
    </message>
    <message>
        <source>Position 5</source>
        <translation>Position 5</translation>
    </message>
    <message>
        <source>Position 6</source>
        <translation>Position 6</translation>
    </message>
    <message>
        <source>Position 7</source>
        <translation>Position 7</translation>
    </message>
    <message>
        <source>Position 8</source>
        <translation>Position 8</translation>
    </message>
    <message>
        <source>Feste ID</source>
        <translation>Fixed ID</translation>
    </message>
    <message>
        <source>Alle ID&apos;s</source>
        <translation>All IDs</translation>
    </message>
    <message>
        <source>Relais</source>
        <translation>Relay</translation>
    </message>
    <message>
        <source>Funk Übertragung</source>
        <translation>Radio transmission</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>Alarmtyp</source>
        <translation>Alarm type</translation>
    </message>
    <message>
        <source>Sendeverzögerung (Sek)</source>
        <translation>Transmit delay (s)</translation>
    </message>
    <message>
        <source>Standortkennung</source>
        <translation>Location code</translation>
    </message>
    <message>
        <source>K-ORBA Typ</source>
        <translation>K-ORBA type</translation>
    </message>
    <message>
        <source>Relais sperren nach Personal (Sek)</source>
        <translation>Lock relay after staff (s)</translation>
    </message>
    <message>
        <source>Eingangs Typ</source>
        <translation>Input type</translation>
    </message>
    <message>
        <source>Eing. 1</source>
        <translation>In. 1</translation>
    </message>
    <message>
        <source>Eing. 2</source>
        <translation>In. 2</translation>
    </message>
    <message>
        <source>Eing. 3</source>
        <translation>In. 3</translation>
    </message>
    <message>
        <source>Eing. 4</source>
        <translation>In. 4</translation>
    </message>
    <message>
        <source>Eing. 5</source>
        <translation>In. 5</translation>
    </message>
    <message>
        <source>Alarm Rückstellzeit (Sek)</source>
        <translation>Alarm reset time (s)</translation>
    </message>
    <message>
        <source>Schwellwert, Eingang 4</source>
        <translation>Threshold, input 4</translation>
    </message>
    <message>
        <source>V (DC)</source>
        <translation>V (DC)</translation>
    </message>
    <message>
        <source>Schwellwert, Eingang 5</source>
        <translation>Threshold, input 5</translation>
    </message>
    <message>
        <source>Sende Alarm, wenn analoger Eingang</source>
        <translation>Send alarm when analogue input</translation>
    </message>
    <message>
        <source>Stromversorgungsmodus</source>
        <translation>Power supply mode</translation>
    </message>
    <message>
        <source>Batteriealarm Meldung</source>
        <translation>Battery alarm report</translation>
    </message>
    <message>
        <source>Batteriealarm Intervall (0=Aus)</source>
        <translation>Battery alarm interval (0=off)</translation>
    </message>
    <message>
        <source>Batterie schwach Schwellwert (V)</source>
        <translation>Low battery threshold (V)</translation>
    </message>
    <message>
        <source>Stromausfall Meldung</source>
        <translation>Power failure report</translation>
    </message>
    <message>
        <source>Stromversorgung wieder OK</source>
        <translation>Power supply OK again</translation>
    </message>
    <message>
        <source>Testalarm Intervall (0=Aus)</source>
        <translation>Test alarm interval (0=off)</translation>
    </message>
    <message>
        <source>Batterieladedauer (Std)</source>
        <translation>Battery charging time (h)</translation>
    </message>
    <message>
        <source>Einschaltverzögerung (Sek)</source>
        <translation>Switch-on delay (s)</translation>
    </message>
    <message>
        <source>Auslöseverzögerung (Sek)</source>
        <translation>Trigger delay (s)</translation>
    </message>
    <message>
        <source>Ausgangsaktivierungsdauer (Sek)</source>
        <translation>Output activation time (s)</translation>
    </message>
    <message>
        <source>Anzahl kurzer Übertragungen</source>
        <translation>Number of short transmissions</translation>
    </message>
    <message>
        <source>Anzahl langer Übertragungen</source>
        <translation>Number of long transmissions</translation>
    </message>
    <message>
        <source>Verzögerung der Übertragung (Sek)</source>
        <translation>Transmission delay (s)</translation>
    </message>
    <message>
        <source>Verwende Jumper</source>
        <translation>Use jumper</translation>
    </message>
    <message>
        <source>Max Anzahl Wiederholungen (1..15)</source>
        <translation>Max number of repeats (1..15)</translation>
    </message>
    <message>
        <source>Sperrzeit gleicher Code ohne Quittung</source>
        <translation>Lockout same code, no acknowledgement</translation>
    </message>
    <message>
        <source>Sperrzeit gleicher Code mit Quittung</source>
        <translation>Lockout same code, acknowledged</translation>
    </message>
    <message>
        <source>Quittierung</source>
        <translation>Acknowledgement</translation>
    </message>
    <message>
        <source>(Sek)</source>
        <translation>(s)</translation>
    </message>
    <message>
        <source>Frequenzband für Alarmempfang</source>
        <translation>Frequency band for alarm reception</translation>
    </message>
    <message>
        <source>Frequenzband für Alarmübertragung</source>
        <translation>Frequency band for alarm transmission</translation>
    </message>
    <message>
        <source>Trägerempfindlichkeit Schwellwert</source>
        <translation>Carrier sensitivity threshold</translation>
    </message>
    <message>
        <source>Übertrage erst wenn Frequenz frei</source>
        <translation>Transmit only when frequency is free</translation>
    </message>
    <message>
        <source>Gerätetyp</source>
        <translation>Device type</translation>
    </message>
    <message>
        <source>Empfangsprotokoll</source>
        <translation>Receive protocol</translation>
    </message>
    <message>
        <source>Sendeprotokoll</source>
        <translation>Transmit protocol</translation>
    </message>
    <message>
        <source>Produktname</source>
        <translation>Product name</translation>
    </message>
    <message>
        <source>Firmware version</source>
        <translation>Firmware version</translation>
    </message>
    <message>
        <source>Produktionsdatum</source>
        <translation>Production date</translation>
    </message>
    <message>
        <source>Funkkalibrierung</source>
        <translation>Radio calibration</translation>
    </message>
    <message>
        <source>Funk-ID Code</source>
        <translation>Radio ID code</translation>
    </message>
    <message>
        <source>Seriennummer</source>
        <translation>Serial number</translation>
    </message>
    <message>
        <source>Frequenzband</source>
        <translation>Frequency band</translation>
    </message>
    <message>
        <source>Aktivieren Sie den Funksender für Position</source>
        <translation>Activate the radio transmitter for position</translation>
    </message>
    <message>
        <source>Das angeschlossene Gerät ist nicht identisch mit dem ausgewählten Gerät. 
Bitte gehen Sie zum Hauptmenü zurück, und wählen das korrekte Gerät aus. 
Abbruch Schreibvorgang.</source>
        <translation>The connected device is not the same as the selected device. 
Please go back to the main menu and select the correct device. 
Writing cancelled.</translation>
    </message>
    <message>
        <source>Angeschlossenes Gerät kann nicht erkannt werden.</source>
        <translation>The connected device cannot be recognised.</translation>
    </message>
    <message>
        <source>Kann gewählte Konfiguration nicht laden</source>
        <translation>Cannot load the selected configuration</translation>
    </message>
    <message>
        <source>Kann Konfiguration nicht speichern</source>
        <translation>Cannot save the configuration</translation>
    </message>
    <message>
        <source>Default.....bin Datei konnte in Anwednungsverzeichnis nicht gefunden werden</source>
        <translation>Default.....bin file could not be found in the application folder</translation>
    </message>
    <message>
        <source>Möchten Sie die Konfiguration vor dem Verlassen speichern?</source>
        <translation>Do you want to save the configuration before leaving?</translation>
    </message>
    <message>
        <source>Fehler beim Lesen aus dem Gerät</source>
        <translation>Error reading from the device</translation>
    </message>
    <message>
        <source>Fehler beim Schreiben in das Gerät</source>
        <translation>Error writing to the device</translation>
    </message>
    <message>
        <source>Datei ist schreibgeschützt, speichern nicht möglich</source>
        <translation>File is read-only, cannot save</translation>
    </message>
    <message>
        <source>Konfigurationsdatei existiert bereits. Wollen Sie diese überschreiben?</source>
        <translation>The configuration file already exists. Do you want to overwrite it?</translation>
    </message>
    <message>
        <source>Keine Verbindung zum Gerät. Bitte prüfen Sie, ob das Gerät eingeschlatet ist 
und ob das Kabel im Anschluss &apos;DC&apos; vom Gerät eingesteckt ist.</source>
        <translation>No connection to the device. Please check that the device is switched on 
and that the cable is plugged into the device&apos;s &apos;DC&apos; socket.</translation>
    </message>
    <message>
        <source>Hinweis: Das Fenster schließt sich automatisch nach dem Einlesen des Funksender Codes.</source>
        <translation>Note: the window closes by itself once the transmitter code has been received.</translation>
    </message>
    <message>
        <source>Kann KBX nicht finden. Bitte prüfen ob Steckernetzteil und USB Kabel richtig angeschlossen sind</source>
        <translation>Cannot find the KBX. Please check that the plug-in power supply and the USB cable are connected properly</translation>
    </message>
    <message>
        <source>Öffnen</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Programmierung fertig. Bitte schalten Sie das Gerät aus und wieder ein, damit alle Änderungen wirksam werden.</source>
        <translation>Programming done. Please switch the device off and on again so that all changes take effect.</translation>
    </message>
    <message>
        <source>Lesen vollständig</source>
        <translation>Reading complete</translation>
    </message>
    <message>
        <source>Lese aus Gerät...</source>
        <translation>Reading from device...</translation>
    </message>
    <message>
        <source>Speichern als</source>
        <translation>Save as</translation>
    </message>
    <message>
        <source>Ausgewähltes Produkt wurde geändert um das angeschlossene Gerät darzustellen</source>
        <translation>The selected product was changed to show the connected device</translation>
    </message>
    <message>
        <source>Das angeschlossene Gerät ist kein BORA, ZAL, MUVE, MUVE+ oder DORF.

Möchten Sie die Konfiguration speichern, um diese durch VESK überprüfen zu lassen?</source>
        <translation>The connected device is not a BORA, ZAL, MUVE, MUVE+ or DORF.

Do you want to save the configuration so that VESK can check it?</translation>
    </message>
    <message>
        <source>Das angeschlossene Gerät ist kein BORA, ZAL, MUVE, MUVE+ oder DORF.

Bitte nehmen Sie mit dem Service von VESK Kontakt auf.</source>
        <translation>The connected device is not a BORA, ZAL, MUVE, MUVE+ or DORF.

Please contact VESK service.</translation>
    </message>
    <message>
        <source>Die ausgewählte Datei passt nicht zu BORA, ZAL, MUVE, MUVE+ oder DORF!

Bitte nehmen Sie mit dem Service von VESK Kontakt auf.</source>
        <translation>The selected file does not match BORA, ZAL, MUVE, MUVE+ or DORF!

Please contact VESK service.</translation>
    </message>
    <message>
        <source>Unbekannte Versionsnummer. (0x%s%s)

Möchten Sie die Konfiguration speichern, um diese durch VESK überprüfen zu lassen?</source>
        <translation>Unknown version number. (0x%s%s)

Do you want to save the configuration so that VESK can check it?</translation>
    </message>
    <message>
        <source>Unbekannte Versionsnummer. (0x%s%s)

Bitte nehmen Sie mit dem Service von VESK Kontakt auf.</source>
        <translation>Unknown version number. (0x%s%s)

Please contact VESK service.</translation>
    </message>
    <message>
        <source>Vergleiche Gerät...</source>
        <translation>Verifying device...</translation>
    </message>
    <message>
        <source>Fehler bei Überprüfung</source>
        <translation>Verification failed</translation>
    </message>
    <message>
        <source>Warte auf Auslösung Sender</source>
        <translation>Waiting for the transmitter to be triggered</translation>
    </message>
    <message>
        <source>Schreiben und Überprüfung vollständig</source>
        <translation>Writing and verification complete</translation>
    </message>
    <message>
        <source>Schreibe zu Gerät...</source>
        <translation>Writing to device...</translation>
    </message>
    <message>
        <source>Abbruch</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Beenden</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>gleiche</source>
        <translation>same</translation>
    </message>
    <message>
        <source>Transparent</source>
        <translation>Transparent</translation>
    </message>
    <message>
        <source>Angeschlossenes Gerät ist nicht kompatibel. Lesen Sie die Einstellungen aus dem Gerät aus um diese dann zu ändern oder die Firmware der Gerätes muss erneuert werden.</source>
        <translation>The connected device is not compatible. Read the settings from the device to change them, or the device&apos;s firmware must be updated.</translation>
    </message>
    <message>
        <source>Standard Datei ist fehlerhaft. Bitte nehmen Sie mit dem Service von VESK Kontakt auf. (Der Wert %s an der Adresse %s ist nicht korrekt)</source>
        <translation>The default file is faulty. Please contact VESK service. (The value %s at address %s is not correct)</translation>
    </message>
    <message>
        <source>Ausgewählte Datei ist fehlerhaft. Bitte nehmen Sie mit dem Service von VESK Kontakt auf. (Der Wert %s an der Adresse %s ist nicht korrekt)</source>
        <translation>The selected file is faulty. Please contact VESK service. (The value %s at address %s is not correct)</translation>
    </message>
    <message>
        <source>Konfiguration im Gerät ist fehlerhaft oder nicht kompatibel mit der Programmversion.
Bitte versuchen Sie im Menü Datei-&gt;Neu und dann Kommunikation-Schreibe in Gerät.
Wird der Fehler weiterhin gemeldet, so nehmen Sie bitte mit dem Service von VESK Kontakt auf.
(Der Wert %s an der Adresse %s ist nicht korrekt)</source>
        <translation>The configuration in the device is faulty or not compatible with the program version.
Please try File-&gt;New in the menu and then Communication-Write to device.
If the error is still reported, please contact VESK service.
(The value %s at address %s is not correct)</translation>
    </message>
    <message>
        <source>Fehler beim Konvertieren von Daten</source>
        <translation>Error converting data</translation>
    </message>
    <message>
        <source>Angeschlossenes Gerät ist kein %s, bitte lesen Sie die Daten erst aus dem angeschlossenen Gerät aus, bevor Sie die Funk ID-Codes ändern.</source>
        <translation>The connected device is not a %s; please read the data from the connected device first, before you change the radio ID codes.</translation>
    </message>
    <message>
        <source>Das angeschlossene Gerät wird nicht unterstützt. Bitte machen Sie ein Update auf die neuste Version des ZAL Programmers.</source>
        <translation>The connected device is not supported. Please update to the latest version of the ZAL programmer.</translation>
    </message>
    <message>
        <source>Die ausgewählte Datei wird nicht unterstützt. Bitte machen Sie ein Update auf die neuste Version des ZAL Programmers.</source>
        <translation>The selected file is not supported. Please update to the latest version of the ZAL programmer.</translation>
    </message>
    <message>
        <source>Das angeschlossene Gerät ist kein BORA, ZAL, MUVE, MUVE+ oder DORF.</source>
        <translation>The connected device is not a BORA, ZAL, MUVE, MUVE+ or DORF.</translation>
    </message>
    <message>
        <source>Die Konfiguration des angeschlossenen Gerätes wurde in einer Datei gespeichert.</source>
        <translation>The configuration of the connected device was saved in a file.</translation>
    </message>
    <message>
        <source>Das angeschlossene Gerät MUVE+ unterstützt die ausgewählte Alternative zum Quittieren des Funkempfangs nicht.
<byte value="xd"/>Bitte rüsten Sie die aktuelle Firmware des MUVE+ auf, oder wählen Sie ‚Empfang quittieren&apos; oder ‚Empfang nicht quittieren&apos; unter den Einstellungen im Bereich Funk im Fenster ‚Weitere&apos;.</source>
        <translation>The connected MUVE+ does not support the selected way of acknowledging radio reception.
<byte value="xd"/>Please update the MUVE+ to the current firmware, or select &apos;Acknowledge reception&apos; or &apos;Do not acknowledge reception&apos; in the Radio settings on the &apos;More&apos; page.</translation>
    </message>
    <message>
        <source>Positionsalarme werden erst ab Version 22.8 unterstützt</source>
        <translation>Position alarms are supported from version 22.8 on</translation>
    </message>
    <message>
        <source>Die ausgewählte Datei ist nicht kompatibel. Möchten Sie den Dateityp %s mit %s überschreiben?</source>
        <translation>The selected file is not compatible. Do you want to overwrite the file type %s with %s?</translation>
    </message>
    <message>
        <source>Die ausgewählte Datei ist nicht kompatibel. Möchten Sie den Dateiversion %s with %s überschreiben?</source>
        <translation>The selected file is not compatible. Do you want to overwrite the file version %s with %s?</translation>
    </message>
    <message>
        <source>Das angeschlossene Gerät wurde erfolgreich mit neuen Funk ID-Codes beschrieben.</source>
        <translation>The new radio ID codes were written to the connected device successfully.</translation>
    </message>
    <message>
        <source>Datei %s, wurde im Anwendungsverzeichnis nicht gefunden.</source>
        <translation>File %s was not found in the application folder.</translation>
    </message>
    <message>
        <source>Bitte zuerst die Gerätefirmware auf v1.x erneuern (mit Brennix). Haben Sie die Gerätefirmware erneuert?</source>
        <translation>Please first update the device firmware to v1.x (with Brennix). Have you updated the device firmware?</translation>
    </message>
    <message>
        <source>Byte für Version wurde im Gerätespeicher geändert. Jetzt bitte Datei-Neu version-V1.x, und dann Kommunikation-Schreibe in Gerät.</source>
        <translation>The version byte was changed in the device memory. Now please File-New version-V1.x, and then Communication-Write to device.</translation>
    </message>
    <message>
        <source>Angeschlossenes Gerät wurde auf ‚%s’ Version %s upgedatet. Bitte schalten Sie das Gerät aus und wieder ein, damit alle Änderungen wirksam werden.</source>
        <translation>The connected device was updated to ‘%s’ version %s. Please switch the device off and on again so that all changes take effect.</translation>
    </message>
    <message>
        <source>Möchten Sie wirklich ,Default %s&apos; zu angeschlossene Gerät schreiben?</source>
        <translation>Do you really want to write &apos;Default %s&apos; to the connected device?</translation>
    </message>
    <message>
        <source>Die ausgelesene Konfiguration ist defekt oder inkompatibel zu der im Gerät befindlichen Firmware.
Bitte überprüfen Sie alle Parameter und schreiben Sie diese zurück in das Gerät.
Wenn die Probleme weiterhin bestehen, nehmen Sie Kontakt mit VESK auf.</source>
        <translation>The configuration read is faulty or incompatible with the device&apos;s firmware.
Please check all parameters and write them back to the device.
If the problems persist, please contact VESK.</translation>
    </message>
    <message>
        <source>ID code hat immer 4 Stellen</source>
        <translation>An ID code always has 4 digits</translation>
    </message>
    <message>
        <source>Schwellwert für Eingang 4 muss einen Wert zwischen 0 und 3 haben</source>
        <translation>The threshold for input 4 must be between 0 and 3</translation>
    </message>
    <message>
        <source>Schwellwert für Eingang 5 muss einen Wert zwischen 0 und 3 haben</source>
        <translation>The threshold for input 5 must be between 0 and 3</translation>
    </message>
    <message>
        <source>Testintervall muss einen Wert zwischen 0 und %s haben</source>
        <translation>The test interval must be between 0 and %s</translation>
    </message>
    <message>
        <source>Legen Sie die ,Batterie Ladedauer&apos; fest. Wert muss zwischen 0 und 255 liegen.</source>
        <translation>Set the &apos;Battery charging time&apos;. The value must be between 0 and 255.</translation>
    </message>
    <message>
        <source>Der Wert für die ,Einschaltverzögerung&apos; muss zwischen 0 und 255 liegen.</source>
        <translation>The value for the &apos;Switch-on delay&apos; must be between 0 and 255.</translation>
    </message>
    <message>
        <source>Der Wert für die ,Auslöseverzögerung&apos; muss zwischen 0 und 255 liegen.</source>
        <translation>The value for the &apos;Trigger delay&apos; must be between 0 and 255.</translation>
    </message>
    <message>
        <source>Der Wert für die ,Ausgangsaktivierungsdauer&apos; muss zwischen 0 und %s liegen.</source>
        <translation>The value for the &apos;Output activation time&apos; must be between 0 and %s.</translation>
    </message>
    <message>
        <source>Anzahl der kurzen Übertragungen muss einen Wert zwischen 0 und 255 haben</source>
        <translation>The number of short transmissions must be between 0 and 255</translation>
    </message>
    <message>
        <source>Anzahl der langen Übertragungen muss einen Wert zwischen 0 und 255 haben</source>
        <translation>The number of long transmissions must be between 0 and 255</translation>
    </message>
    <message>
        <source>Eingetragener Wert für ,Verzögerung&apos; muss zwischen 0 und %s liegen.</source>
        <translation>The value entered for &apos;Delay&apos; must be between 0 and %s.</translation>
    </message>
    <message>
        <source>Eingetragener Wert für ,Maximale Wiederholungen&apos; muss zwischen 1 und 15 liegen.</source>
        <translation>The value entered for &apos;Maximum repeats&apos; must be between 1 and 15.</translation>
    </message>
    <message>
        <source>Eingetragener Wert für ,Sperrzeit gleicher Code ohne Quittung&apos; muss zwischen 0 und 255 liegen.</source>
        <translation>The value entered for &apos;Lockout same code, no acknowledgement&apos; must be between 0 and 255.</translation>
    </message>
    <message>
        <source>Eingetragener Wert für ,Sperrzeit gleicher Code ohne Quittung&apos; muss zwischen 0 und 3600 liegen.</source>
        <translation>The value entered for &apos;Lockout same code, no acknowledgement&apos; must be between 0 and 3600.</translation>
    </message>
    <message>
        <source>Eingetragener Wert für ,Sperrzeit gleicher Code mit Quittung&apos; muss zwischen 0 und 3600 liegen.</source>
        <translation>The value entered for &apos;Lockout same code, acknowledged&apos; must be between 0 and 3600.</translation>
    </message>
    <message>
        <source>Ungültiger Funk-ID Code.
Verwenden Sie nicht den Wert 0000 oder FFFF</source>
        <translation>Invalid radio ID code.
Do not use the value 0000 or FFFF</translation>
    </message>
    <message>
        <source>Ungültiger Funk-ID Code.
Verwenden Sie nicht den Wert 0000 oder zwischen FFF6...FFFF</source>
        <translation>Invalid radio ID code.
Do not use the value 0000 or one between FFF6...FFFF</translation>
    </message>
    <message>
        <source>Der eingetragene Wert für &apos;Batteriealarm Intervall&apos; muss zwischen 0 und %s liegen.</source>
        <translation>The value entered for &apos;Battery alarm interval&apos; must be between 0 and %s.</translation>
    </message>
    <message>
        <source>Der eingetragene Wert für &apos;Batterie schwach Schwellwert&apos; muss zwischen 0 und 6.0 liegen.</source>
        <translation>The value entered for &apos;Low battery threshold&apos; must be between 0 and 6.0.</translation>
    </message>
    <message>
        <source>Der eingetragene Wert für &apos;Trägerempfindlichkeit Schwellwert&apos; muss zwischen 0 und 31 liegen.</source>
        <translation>The value entered for &apos;Carrier sensitivity threshold&apos; must be between 0 and 31.</translation>
    </message>
    <message>
        <source>Der eingegebene Wert für &apos;Relais sperren nach Personal&apos; muss zwischen 0 und 25 liegen.</source>
        <translation>The value entered for &apos;Lock relay after staff&apos; must be between 0 and 25.</translation>
    </message>
    <message>
        <source>Gerätetyp Wertebereich von 0 bis 255.</source>
        <translation>Device type range from 0 to 255.</translation>
    </message>
    <message>
        <source>Eingetragener Wert für ,Alarm Rückstellzeit&apos; muss zwischen 0 und 6553 liegen.</source>
        <translation>The value entered for &apos;Alarm reset time&apos; must be between 0 and 6553.</translation>
    </message>
    <message>
        <source>Der eingetragene Wert für &apos;Trägerempfindlichkeit Schwellwert&apos; muss zwischen -128 und 127 liegen.</source>
        <translation>The value entered for &apos;Carrier sensitivity threshold&apos; must be between -128 and 127.</translation>
    </message>
    <message>
        <source>Über ZAL family programmer</source>
        <translation>About ZAL family programmer</translation>
    </message>
    <message>
        <source>ZAL family programmer</source>
        <translation>ZAL family programmer</translation>
    </message>
    <message>
        <source>(Default)</source>
        <translation>(Default)</translation>
    </message>
    <message>
        <source>KBX info: %s</source>
        <translation>KBX info: %s</translation>
    </message>
    <message>
        <source>(aus Gerät ausgelesen)</source>
        <translation>(read from device)</translation>
    </message>
    <message>
        <source>Aus</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>Sende unverändert</source>
        <translation>Send unchanged</translation>
    </message>
    <message>
        <source>Schliesser Kontakt</source>
        <translation>Normally open contact</translation>
    </message>
    <message>
        <source>Nein</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Nein/Funktion aus</source>
        <translation>No/function off</translation>
    </message>
    <message>
        <source>Ja</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Sende 1. feste</source>
        <translation>Send fixed 1</translation>
    </message>
    <message>
        <source>Sende 2. feste</source>
        <translation>Send fixed 2</translation>
    </message>
    <message>
        <source>Sende 3. feste</source>
        <translation>Send fixed 3</translation>
    </message>
    <message>
        <source>Sende 4. feste</source>
        <translation>Send fixed 4</translation>
    </message>
    <message>
        <source>Sende 5. feste</source>
        <translation>Send fixed 5</translation>
    </message>
    <message>
        <source>Minuten</source>
        <translation>Minutes</translation>
    </message>
    <message>
        <source>Stunden</source>
        <translation>Hours</translation>
    </message>
    <message>
        <source>Empfang quittieren</source>
        <translation>Acknowledge reception</translation>
    </message>
    <message>
        <source>Empfang nicht quittieren</source>
        <translation>Do not acknowledge reception</translation>
    </message>
    <message>
        <source>Quittung nur an Sender</source>
        <translation>Acknowledge to transmitter only</translation>
    </message>
    <message>
        <source>Quittung nur an Repeater</source>
        <translation>Acknowledge to repeater only</translation>
    </message>
    <message>
        <source>1. feste</source>
        <translation>Fixed 1</translation>
    </message>
    <message>
        <source>2. feste</source>
        <translation>Fixed 2</translation>
    </message>
    <message>
        <source>3. feste</source>
        <translation>Fixed 3</translation>
    </message>
    <message>
        <source>4. feste</source>
        <translation>Fixed 4</translation>
    </message>
    <message>
        <source>5. feste</source>
        <translation>Fixed 5</translation>
    </message>
    <message>
        <source>6. feste</source>
        <translation>Fixed 6</translation>
    </message>
    <message>
        <source>7. feste</source>
        <translation>Fixed 7</translation>
    </message>
    <message>
        <source>8. feste</source>
        <translation>Fixed 8</translation>
    </message>
    <message>
        <source>Feste Eing.</source>
        <translation>Fixed in.</translation>
    </message>
    <message>
        <source>Alter Funk-ID Code</source>
        <translation>Old radio ID code</translation>
    </message>
    <message>
        <source>Neuer Funk-ID Code</source>
        <translation>New radio ID code</translation>
    </message>
    <message>
        <source>Schreibe in Gerät</source>
        <translation>Write to device</translation>
    </message>
    <message>
        <source>\VESK\ZAL Programmer (DE)\</source>
        <translation>\VESK\ZAL Programmer (DE)\</translation>
    </message>
</context>
<context>
    <name>ValueList</name>
    <message>
        <source>Normaler Alarm</source>
        <translation>Normal alarm</translation>
    </message>
    <message>
        <source>Notruf</source>
        <translation>Emergency call</translation>
    </message>
    <message>
        <source>Überfallalarm</source>
        <translation>Hold-up alarm</translation>
    </message>
    <message>
        <source>Brandalarm</source>
        <translation>Fire alarm</translation>
    </message>
    <message>
        <source>Technischer Alarm</source>
        <translation>Technical alarm</translation>
    </message>
    <message>
        <source>Personalruf</source>
        <translation>Staff call</translation>
    </message>
    <message>
        <source>Anwesenheit Personal</source>
        <translation>Staff present</translation>
    </message>
    <message>
        <source>Batterie schwach</source>
        <translation>Low battery</translation>
    </message>
    <message>
        <source>Testalarm</source>
        <translation>Test alarm</translation>
    </message>
    <message>
        <source>Sabotage</source>
        <translation>Tamper</translation>
    </message>
    <message>
        <source>Aus</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>Sende mit 1. fester ID</source>
        <translation>Send with fixed ID 1</translation>
    </message>
    <message>
        <source>Sende mit 2. fester ID</source>
        <translation>Send with fixed ID 2</translation>
    </message>
    <message>
        <source>Sende mit 3. fester ID</source>
        <translation>Send with fixed ID 3</translation>
    </message>
    <message>
        <source>Sende mit 4. fester ID</source>
        <translation>Send with fixed ID 4</translation>
    </message>
    <message>
        <source>Sende mit 5. fester ID</source>
        <translation>Send with fixed ID 5</translation>
    </message>
    <message>
        <source>Sende mit 6. fester ID</source>
        <translation>Send with fixed ID 6</translation>
    </message>
    <message>
        <source>Sende mit 7. fester ID</source>
        <translation>Send with fixed ID 7</translation>
    </message>
    <message>
        <source>Sende mit 8. fester ID</source>
        <translation>Send with fixed ID 8</translation>
    </message>
    <message>
        <source>Sende unverändert</source>
        <translation>Send unchanged</translation>
    </message>
    <message>
        <source>Sende mit eigener fester ID</source>
        <translation>Send with own fixed ID</translation>
    </message>
    <message>
        <source>Sende mit fester ID</source>
        <translation>Send with fixed ID</translation>
    </message>
    <message>
        <source>Relais Impuls</source>
        <translation>Relay pulse</translation>
    </message>
    <message>
        <source>Relais umschalten</source>
        <translation>Relay toggle</translation>
    </message>
    <message>
        <source>Relais ein</source>
        <translation>Relay on</translation>
    </message>
    <message>
        <source>Relais aus</source>
        <translation>Relay off</translation>
    </message>
    <message>
        <source>Relais ein bis Rückstellung</source>
        <translation>Relay on until reset</translation>
    </message>
    <message>
        <source>Relais Impuls invertiert</source>
        <translation>Relay pulse inverted</translation>
    </message>
    <message>
        <source>Relais folgt Eingang</source>
        <translation>Relay follows input</translation>
    </message>
    <message>
        <source>Relais folgt Eingang invertiert</source>
        <translation>Relay follows input inverted</translation>
    </message>
    <message>
        <source>Ja</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Nein</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Verwende Jumper</source>
        <translation>Use jumper</translation>
    </message>
    <message>
        <source>Schliesser Kontakt</source>
        <translation>Normally open contact</translation>
    </message>
    <message>
        <source>Öffner Kontakt</source>
        <translation>Normally closed contact</translation>
    </message>
    <message>
        <source>Eingang nicht verwendet</source>
        <translation>Input not used</translation>
    </message>
    <message>
        <source>Analogeingang</source>
        <translation>Analogue input</translation>
    </message>
    <message>
        <source>Analogeingang (Spannung)</source>
        <translation>Analogue input (voltage)</translation>
    </message>
    <message>
        <source>unter dem Schwellwert liegt</source>
        <translation>is below the threshold</translation>
    </message>
    <message>
        <source>über dem Schwellwert liegt</source>
        <translation>is above the threshold</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Stromsparmodus</source>
        <translation>Power saving mode</translation>
    </message>
    <message>
        <source>Nein/Funktion aus</source>
        <translation>No/function off</translation>
    </message>
    <message>
        <source>Europa (869 MHz)</source>
        <translation>Europe (869 MHz)</translation>
    </message>
    <message>
        <source>Skandinavien (869 MHz)</source>
        <translation>Scandinavia (869 MHz)</translation>
    </message>
    <message>
        <source>Grossbritannien (869 MHz)</source>
        <translation>Great Britain (869 MHz)</translation>
    </message>
    <message>
        <source>Export (868 MHz)</source>
        <translation>Export (868 MHz)</translation>
    </message>
    <message>
        <source>Nicht verwendet</source>
        <translation>Not used</translation>
    </message>
    <message>
        <source>Zimmer</source>
        <translation>Room</translation>
    </message>
    <message>
        <source>Flur</source>
        <translation>Corridor</translation>
    </message>
    <message>
        <source>Aufenthaltsraum</source>
        <translation>Day room</translation>
    </message>
    <message>
        <source>Ausgang</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Personalraum</source>
        <translation>Staff room</translation>
    </message>
    <message>
        <source>869,2125 MHz (Band A)</source>
        <translation>869.2125 MHz (band A)</translation>
    </message>
    <message>
        <source>869,5250 MHz (Band B)</source>
        <translation>869.5250 MHz (band B)</translation>
    </message>
    <message>
        <source>Band A und Band B</source>
        <translation>Band A and band B</translation>
    </message>
    <message>
        <source>Standard (kurze ID)</source>
        <translation>Standard (short ID)</translation>
    </message>
    <message>
        <source>Erweitert (lange ID)</source>
        <translation>Extended (long ID)</translation>
    </message>
    <message>
        <source>Reserviert</source>
        <translation>Reserved</translation>
    </message>
</context>
<context>
    <name>Window</name>
    <message>
        <source>Diese Funk-ID Codes jetzt in das angeschlossene Gerät schreiben?

</source>
        <translation>Write these radio ID codes to the connected device now?

</translation>
    </message>
    <message>
        <source>(keine Änderung)</source>
        <translation>(no change)</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Wird abgebrochen...</source>
        <translation>Cancelling...</translation>
    </message>
    <message>
        <source>Supportinformationen speichern...</source>
        <translation>Save support information...</translation>
    </message>
    <message>
        <source>Protokoll</source>
        <translation>Trace</translation>
    </message>
    <message>
        <source>Zeichnet jeden Datenrahmen zur KBX im Supportprotokoll auf</source>
        <translation>Records every data frame to the KBX in the support log</translation>
    </message>
    <message>
        <source>Sprache</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Die Sprache kann nicht gespeichert werden.</source>
        <translation>The language cannot be saved.</translation>
    </message>
    <message>
        <source>Die Sprache wechselt beim nächsten Start des Programms.</source>
        <translation>The language changes the next time the program starts.</translation>
    </message>
    <message>
        <source>Lesen</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>vor dem Schreiben</source>
        <translation>before writing</translation>
    </message>
    <message>
        <source>vor Standardkonfiguration</source>
        <translation>before default configuration</translation>
    </message>
    <message>
        <source>vor Wiederherstellung</source>
        <translation>before restoring</translation>
    </message>
    <message>
        <source>Sicherungen</source>
        <translation>Backups</translation>
    </message>
    <message>
        <source>Jede aus einem Gerät gelesene Konfiguration wird unverändert gesichert, beim Lesen und vor jedem Schreiben.</source>
        <translation>Every configuration read from a device is backed up unchanged, when reading and before every write.</translation>
    </message>
    <message>
        <source>Datum</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Produkt</source>
        <translation>Product</translation>
    </message>
    <message>
        <source>Seriennummer</source>
        <translation>Serial number</translation>
    </message>
    <message>
        <source>Anlass</source>
        <translation>Reason</translation>
    </message>
    <message>
        <source>Ergebnis</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>Es ist kein Dateimanager eingerichtet. Die Sicherungen liegen in:
%1</source>
        <translation>No file manager is set up. The backups are in:
%1</translation>
    </message>
    <message>
        <source>Die Aufzeichnungen können nicht gelesen werden:
%1</source>
        <translation>The records cannot be read:
%1</translation>
    </message>
    <message>
        <source>Die Sicherung %1 ist weder als Datei noch in den Aufzeichnungen vorhanden.</source>
        <translation>The backup %1 is neither a file nor in the records.</translation>
    </message>
    <message>
        <source>Die Sicherung von %1 %2 vom %3 in das Gerät schreiben?

Sie wird dazu im Editor geöffnet.</source>
        <translation>Write the backup of %1 %2 from %3 to the device?

It is opened in the editor for this.</translation>
    </message>
    <message>
        <source>(leer)</source>
        <translation>(empty)</translation>
    </message>
    <message>
        <source>Vorschau: In Gerät schreiben</source>
        <translation>Preview: write to device</translation>
    </message>
    <message>
        <source>Keine Änderung: das Gerät hält diese Konfiguration bereits.</source>
        <translation>No change: the device already holds this configuration.</translation>
    </message>
    <message>
        <source>Im Gerät</source>
        <translation>In the device</translation>
    </message>
    <message>
        <source>Wird geschrieben</source>
        <translation>To be written</translation>
    </message>
    <message>
        <source>Vergleich mit %1</source>
        <translation>Comparison with %1</translation>
    </message>
    <message>
        <source>Keine Unterschiede.</source>
        <translation>No differences.</translation>
    </message>
    <message>
        <source>Andere Konfiguration öffnen</source>
        <translation>Open other configuration</translation>
    </message>
    <message>
        <source>Vergleichen mit</source>
        <translation>Compare with</translation>
    </message>
    <message>
        <source>Sicherungen (*.bin)</source>
        <translation>Backups (*.bin)</translation>
    </message>
    <message>
        <source>Alle Dateien (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>Bericht drucken / exportieren</source>
        <translation>Print / export report</translation>
    </message>
    <message>
        <source>Exportieren...</source>
        <translation>Export...</translation>
    </message>
    <message>
        <source>Bericht exportieren</source>
        <translation>Export report</translation>
    </message>
    <message>
        <source>Bericht</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>Supportinformationen speichern</source>
        <translation>Save support information</translation>
    </message>
    <message>
        <source>Die Supportinformationen wurden in %1 gespeichert.
Bitte senden Sie diese Datei an den Service von VESK.</source>
        <translation>The support information was saved in %1.
Please send this file to VESK service.</translation>
    </message>
    <message>
        <source>%1 kann nicht geschrieben werden: %2</source>
        <translation>%1 cannot be written: %2</translation>
    </message>
    <message>
        <source>&amp;Abbruch</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>Den Ordner „%1“ gibt es nicht. Bitte wählen Sie einen vorhandenen Ordner.</source>
        <translation>The folder “%1” does not exist. Please select an existing folder.</translation>
    </message>
    <message>
        <source>Funk-ID</source>
        <translation>Radio ID</translation>
    </message>
    <message>
        <source>dd.MM.yyyy HH:mm:ss</source>
        <translation>dd/MM/yyyy HH:mm:ss</translation>
    </message>
    <message>
        <source>&amp;Seriennummer:</source>
        <translation>&amp;Serial number:</translation>
    </message>
    <message>
        <source>Die neuesten %1; eine Seriennummer findet auch ältere.</source>
        <translation>The newest %1; a serial number finds older ones too.</translation>
    </message>
    <message>
        <source>Die neuesten %1.</source>
        <translation>The newest %1.</translation>
    </message>
    <message>
        <source>Vergleichen &amp;mit...</source>
        <translation>Compare &amp;with...</translation>
    </message>
    <message>
        <source>Si&amp;cherungen...</source>
        <translation>Bac&amp;kups...</translation>
    </message>
    <message>
        <source>Be&amp;richt drucken / exportieren...</source>
        <translation>&amp;Print / export report...</translation>
    </message>
    <message>
        <source>&amp;Bearbeiten</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>&amp;Rückgängig</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>&amp;Wiederholen</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>Vor jedem Schreiben si&amp;chern (liest das Gerät einmal ganz aus)</source>
        <translation>Back &amp;up before every write (reads the whole device once)</translation>
    </message>
    <message>
        <source>Vor jedem Schreiben die Änderungen &amp;zeigen (für die Fertigung abschalten)</source>
        <translation>Show the &amp;changes before every write (switch off for production)</translation>
    </message>
    <message>
        <source>Im &amp;Editor öffnen</source>
        <translation>Open in &amp;editor</translation>
    </message>
    <message>
        <source>In &amp;Gerät schreiben...</source>
        <translation>&amp;Write to device...</translation>
    </message>
    <message>
        <source>&amp;Ordner anzeigen</source>
        <translation>Show &amp;folder</translation>
    </message>
    <message>
        <source>In Gerät &amp;schreiben</source>
        <translation>&amp;Write to device</translation>
    </message>
    <message>
        <source>&amp;Abbrechen</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>Geräte: %1</source>
        <translation>Devices: %1</translation>
    </message>
    <message>
        <source>&amp;Geräte...</source>
        <translation>&amp;Devices...</translation>
    </message>
    <message>
        <source>Geräte</source>
        <translation>Devices</translation>
    </message>
    <message>
        <source>Seriennummer oder &amp;Funk-ID:</source>
        <translation>Serial number or radio &amp;ID:</translation>
    </message>
    <message>
        <source>Zuletzt gesehen</source>
        <translation>Last seen</translation>
    </message>
    <message>
        <source>Codes</source>
        <translation>Codes</translation>
    </message>
    <message>
        <source>Sicherung / Feld</source>
        <translation>Backup / field</translation>
    </message>
    <message>
        <source>vorher</source>
        <translation>before</translation>
    </message>
    <message>
        <source>nachher</source>
        <translation>after</translation>
    </message>
    <message>
        <source>Mit dem Editor &amp;vergleichen</source>
        <translation>Co&amp;mpare with the editor</translation>
    </message>
    <message>
        <source>ersetzt durch %1 am %2</source>
        <translation>replaced by %1 on %2</translation>
    </message>
    <message>
        <source>(die erste Sicherung dieses Geräts in den Aufzeichnungen)</source>
        <translation>(this device&apos;s first backup in the records)</translation>
    </message>
    <message>
        <source>(kein Feld geändert)</source>
        <translation>(no field changed)</translation>
    </message>
    <message>
        <source>Konfigurationen (%1)</source>
        <translation>Configurations (%1)</translation>
    </message>
    <message numerus="yes">
        <source>Das Schreiben ändert %n Werte im Gerät:</source>
        <translation>
            <numerusform>Writing changes %n value in the device:</numerusform>
            <numerusform>Writing changes %n values in the device:</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n Unterschiede.</source>
        <translation>
            <numerusform>%n difference.</numerusform>
            <numerusform>%n differences.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 (ersetzt durch %2)</source>
        <translation>%1 (replaced by %2)</translation>
    </message>
    <message>
        <source>geschrieben und geprüft</source>
        <translation>written and verified</translation>
    </message>
    <message>
        <source>wiederhergestellt und geprüft</source>
        <translation>restored and verified</translation>
    </message>
    <message>
        <source>als Ersatz geschrieben und geprüft</source>
        <translation>written as a replacement and verified</translation>
    </message>
    <message>
        <source>Standardkonfiguration geschrieben und geprüft</source>
        <translation>default configuration written and verified</translation>
    </message>
    <message>
        <source>Fertigungslinie: Festcodes geschrieben und geprüft</source>
        <translation>production line: fixed codes written and verified</translation>
    </message>
    <message>
        <source>Angeschlossen ist %1 %2, Seriennummer %3.</source>
        <translation>Connected is %1 %2, serial number %3.</translation>
    </message>
    <message>
        <source>Editor: %1</source>
        <translation>Editor: %1</translation>
    </message>
</context>
</TS>
