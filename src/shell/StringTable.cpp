#include "StringTable.h"

#include "Language.h"

#include <QCoreApplication>

#include <algorithm>
#include <iterator>

namespace zal {
namespace {

struct Entry {
    int id;
    const char* text; // UTF-8
};

// Sorted by number.
constexpr Entry kEntries[] = {
    {10001, QT_TRANSLATE_NOOP("StringTable",
                              "Willkommen im Vesk Programm zur Konfiguration der ZAL Produktfamilie")},
    {10002, QT_TRANSLATE_NOOP("StringTable", "Bitte Produkt für Konfiguration wählen")},
    {10101, QT_TRANSLATE_NOOP("StringTable", "&Datei")},
    {10102, QT_TRANSLATE_NOOP("StringTable", "&Neu")},
    {10103, QT_TRANSLATE_NOOP("StringTable", "Neu version")},
    {10104, QT_TRANSLATE_NOOP("StringTable", "V1.x")},
    {10105, QT_TRANSLATE_NOOP("StringTable", "V20.xx")},
    {10106, QT_TRANSLATE_NOOP("StringTable", "V21.xx")},
    {10107, QT_TRANSLATE_NOOP("StringTable", "V22.xx")},
    {10108, QT_TRANSLATE_NOOP("StringTable", "&Öffnen")},
    {10109, QT_TRANSLATE_NOOP("StringTable", "&Speichern")},
    {10110, QT_TRANSLATE_NOOP("StringTable", "Speichern &als...")},
    {10111, QT_TRANSLATE_NOOP("StringTable", "Wähle Standard&verzeichnis...")},
    {10112, QT_TRANSLATE_NOOP("StringTable", "&Beenden")},
    {10113, QT_TRANSLATE_NOOP("StringTable", "&Kommunikation")},
    {10114, QT_TRANSLATE_NOOP("StringTable", "&Lese aus Gerät")},
    {10115, QT_TRANSLATE_NOOP("StringTable", "&Schreibe in Gerät")},
    {10120, QT_TRANSLATE_NOOP("StringTable", "Schreibe Byte für Version in v1.x Gerät")},
    {10121, QT_TRANSLATE_NOOP("StringTable", "Ändere feste Funk-ID Codes")},
    {10130, QT_TRANSLATE_NOOP("StringTable", "&Hilfe")},
    {10131, QT_TRANSLATE_NOOP("StringTable", "&Über..")},
    {10151, QT_TRANSLATE_NOOP("StringTable", "Wähle Standardverzeichnis")},
    {10152, QT_TRANSLATE_NOOP("StringTable", "Standardverzeichnis")},
    {10153, QT_TRANSLATE_NOOP(
                "StringTable",
                "Das unten angegebene Verzeichnis gibt den voreingestellten Speicherort für die K-ORBA "
                "Konfigurationsdateien an.")},
    {10154, QT_TRANSLATE_NOOP("StringTable", "&Suchen...")},
    {10155, QT_TRANSLATE_NOOP("StringTable", "Wähle neues Standardverzeichnis")},
    {10201, QT_TRANSLATE_NOOP("StringTable", "Funkeingänge")},
    {10202, QT_TRANSLATE_NOOP("StringTable", "Standorte")},
    {10203, QT_TRANSLATE_NOOP("StringTable", "Verkabelte Eingänge")},
    {10204, QT_TRANSLATE_NOOP("StringTable", "Weitere")},
    {10301, QT_TRANSLATE_NOOP("StringTable", "Funksender")},
    {10302, QT_TRANSLATE_NOOP("StringTable", "Aktion")},
    {10303, QT_TRANSLATE_NOOP("StringTable", "Standorte")},
    {10304, QT_TRANSLATE_NOOP("StringTable", "Aktion")},
    {10305, QT_TRANSLATE_NOOP("StringTable", "Auslösetyp")},
    {10306, QT_TRANSLATE_NOOP("StringTable", "Aktion")},
    {10307, QT_TRANSLATE_NOOP("StringTable", "Einstellungen Analogeingänge")},
    {10308, QT_TRANSLATE_NOOP("StringTable", "Diverse")},
    {10309, QT_TRANSLATE_NOOP("StringTable", "Funk")},
    {10310, QT_TRANSLATE_NOOP("StringTable", "Produkt Info")},
    {10401, QT_TRANSLATE_NOOP("StringTable", "Funk ID's")},
    {10402, QT_TRANSLATE_NOOP("StringTable", "Position 1")},
    {10403, QT_TRANSLATE_NOOP("StringTable", "Position 2")},
    {10404, QT_TRANSLATE_NOOP("StringTable", "Position 3")},
    {10405, QT_TRANSLATE_NOOP("StringTable", "Position 4")},
    {10406, QT_TRANSLATE_NOOP("StringTable", "Position 5")},
    {10407, QT_TRANSLATE_NOOP("StringTable", "Position 6")},
    {10408, QT_TRANSLATE_NOOP("StringTable", "Position 7")},
    {10409, QT_TRANSLATE_NOOP("StringTable", "Position 8")},
    {10410, QT_TRANSLATE_NOOP("StringTable", "Feste ID")},
    {10411, QT_TRANSLATE_NOOP("StringTable", "Alle ID's")},
    {10421, QT_TRANSLATE_NOOP("StringTable", "Relais")},
    {10422, QT_TRANSLATE_NOOP("StringTable", "Funk Übertragung")},
    {10423, QT_TRANSLATE_NOOP("StringTable", "ID")},
    {10424, QT_TRANSLATE_NOOP("StringTable", "Alarmtyp")},
    {10425, QT_TRANSLATE_NOOP("StringTable", "Sendeverzögerung (Sek)")},
    {10431, QT_TRANSLATE_NOOP("StringTable", "Standortkennung")},
    {10432, QT_TRANSLATE_NOOP("StringTable", "K-ORBA Typ")},
    {10433, QT_TRANSLATE_NOOP("StringTable", "Position 1")},
    {10434, QT_TRANSLATE_NOOP("StringTable", "Position 2")},
    {10435, QT_TRANSLATE_NOOP("StringTable", "Position 3")},
    {10436, QT_TRANSLATE_NOOP("StringTable", "Position 4")},
    {10437, QT_TRANSLATE_NOOP("StringTable", "Position 5")},
    {10438, QT_TRANSLATE_NOOP("StringTable", "Position 6")},
    {10439, QT_TRANSLATE_NOOP("StringTable", "Position 7")},
    {10440, QT_TRANSLATE_NOOP("StringTable", "Position 8")},
    {10451, QT_TRANSLATE_NOOP("StringTable", "Relais")},
    {10452, QT_TRANSLATE_NOOP("StringTable", "Relais sperren nach Personal (Sek)")},
    {10461, QT_TRANSLATE_NOOP("StringTable", "Eingangs Typ")},
    {10462, QT_TRANSLATE_NOOP("StringTable", "Eing. 1")},
    {10463, QT_TRANSLATE_NOOP("StringTable", "Eing. 2")},
    {10464, QT_TRANSLATE_NOOP("StringTable", "Eing. 3")},
    {10465, QT_TRANSLATE_NOOP("StringTable", "Eing. 4")},
    {10466, QT_TRANSLATE_NOOP("StringTable", "Eing. 5")},
    {10471, QT_TRANSLATE_NOOP("StringTable", "Relais")},
    {10472, QT_TRANSLATE_NOOP("StringTable", "Funk Übertragung")},
    {10473, QT_TRANSLATE_NOOP("StringTable", "ID")},
    {10474, QT_TRANSLATE_NOOP("StringTable", "Alarmtyp")},
    {10475, QT_TRANSLATE_NOOP("StringTable", "Alarm Rückstellzeit (Sek)")},
    {10481, QT_TRANSLATE_NOOP("StringTable", "Schwellwert, Eingang 4")},
    {10482, QT_TRANSLATE_NOOP("StringTable", "V (DC)")},
    {10483, QT_TRANSLATE_NOOP("StringTable", "Schwellwert, Eingang 5")},
    {10484, QT_TRANSLATE_NOOP("StringTable", "V (DC)")},
    {10485, QT_TRANSLATE_NOOP("StringTable", "Sende Alarm, wenn analoger Eingang")},
    {10491, QT_TRANSLATE_NOOP("StringTable", "Stromversorgungsmodus")},
    {10492, QT_TRANSLATE_NOOP("StringTable", "Batteriealarm Meldung")},
    {10493, QT_TRANSLATE_NOOP("StringTable", "Batteriealarm Intervall (0=Aus)")},
    {10494, QT_TRANSLATE_NOOP("StringTable", "Batterie schwach Schwellwert (V)")},
    {10495, QT_TRANSLATE_NOOP("StringTable", "Stromausfall Meldung")},
    {10496, QT_TRANSLATE_NOOP("StringTable", "Stromversorgung wieder OK")},
    {10497, QT_TRANSLATE_NOOP("StringTable", "Testalarm Intervall (0=Aus)")},
    {10498, QT_TRANSLATE_NOOP("StringTable", "Batterieladedauer (Std)")},
    {10499, QT_TRANSLATE_NOOP("StringTable", "Einschaltverzögerung (Sek)")},
    {10500, QT_TRANSLATE_NOOP("StringTable", "Auslöseverzögerung (Sek)")},
    {10501, QT_TRANSLATE_NOOP("StringTable", "Ausgangsaktivierungsdauer (Sek)")},
    {10511, QT_TRANSLATE_NOOP("StringTable", "Anzahl kurzer Übertragungen")},
    {10512, QT_TRANSLATE_NOOP("StringTable", "Anzahl langer Übertragungen")},
    {10513, QT_TRANSLATE_NOOP("StringTable", "Verzögerung der Übertragung (Sek)")},
    {10514, QT_TRANSLATE_NOOP("StringTable", "Verwende Jumper")},
    {10515, QT_TRANSLATE_NOOP("StringTable", "Max Anzahl Wiederholungen (1..15)")},
    {10516, QT_TRANSLATE_NOOP("StringTable", "Verwende Jumper")},
    {10517, QT_TRANSLATE_NOOP("StringTable", "Sperrzeit gleicher Code ohne Quittung")},
    {10518, QT_TRANSLATE_NOOP("StringTable", "Sperrzeit gleicher Code mit Quittung")},
    {10519, QT_TRANSLATE_NOOP("StringTable", "Quittierung")},
    {10520, QT_TRANSLATE_NOOP("StringTable", "(Sek)")},
    {10521, QT_TRANSLATE_NOOP("StringTable", "Frequenzband für Alarmempfang")},
    {10522, QT_TRANSLATE_NOOP("StringTable", "Frequenzband für Alarmübertragung")},
    {10523, QT_TRANSLATE_NOOP("StringTable", "Trägerempfindlichkeit Schwellwert")},
    {10524, QT_TRANSLATE_NOOP("StringTable", "Übertrage erst wenn Frequenz frei")},
    {10525, QT_TRANSLATE_NOOP("StringTable", "Gerätetyp")},
    {10526, QT_TRANSLATE_NOOP("StringTable", "Empfangsprotokoll")},
    {10527, QT_TRANSLATE_NOOP("StringTable", "Sendeprotokoll")},
    {10531, QT_TRANSLATE_NOOP("StringTable", "Produktname")},
    {10532, QT_TRANSLATE_NOOP("StringTable", "Firmware version")},
    {10533, QT_TRANSLATE_NOOP("StringTable", "Produktionsdatum")},
    {10534, QT_TRANSLATE_NOOP("StringTable", "Funkkalibrierung")},
    {10535, QT_TRANSLATE_NOOP("StringTable", "Funk-ID Code")},
    {10536, QT_TRANSLATE_NOOP("StringTable", "Seriennummer")},
    {10537, QT_TRANSLATE_NOOP("StringTable", "Frequenzband")},
    {10601, QT_TRANSLATE_NOOP("StringTable", "Aktivieren Sie den Funksender für Position")},
    {10602,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "Das angeschlossene Gerät ist nicht identisch mit dem ausgewählten Gerät. \nBitte gehen Sie zum "
         "Hauptmenü zurück, und wählen das korrekte Gerät aus. \nAbbruch Schreibvorgang.")},
    {10603, QT_TRANSLATE_NOOP("StringTable", "Angeschlossenes Gerät kann nicht erkannt werden.")},
    {10604, QT_TRANSLATE_NOOP("StringTable", "Kann gewählte Konfiguration nicht laden")},
    {10605, QT_TRANSLATE_NOOP("StringTable", "Kann Konfiguration nicht speichern")},
    {10606, QT_TRANSLATE_NOOP("StringTable",
                              "Default.....bin Datei konnte in Anwednungsverzeichnis nicht gefunden werden")},
    {10607, QT_TRANSLATE_NOOP("StringTable", "Möchten Sie die Konfiguration vor dem Verlassen speichern?")},
    {10608, QT_TRANSLATE_NOOP("StringTable", "Fehler beim Lesen aus dem Gerät")},
    {10609, QT_TRANSLATE_NOOP("StringTable", "Fehler beim Schreiben in das Gerät")},
    {10610, QT_TRANSLATE_NOOP("StringTable", "Datei ist schreibgeschützt, speichern nicht möglich")},
    {10611, QT_TRANSLATE_NOOP("StringTable",
                              "Konfigurationsdatei existiert bereits. Wollen Sie diese überschreiben?")},
    {10615,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "Keine Verbindung zum Gerät. Bitte prüfen Sie, ob das Gerät eingeschlatet ist \nund ob das Kabel "
         "im Anschluss 'DC' vom Gerät eingesteckt ist.")},
    {10616, QT_TRANSLATE_NOOP(
                "StringTable",
                "Hinweis: Das Fenster schließt sich automatisch nach dem Einlesen des Funksender Codes.")},
    {10617,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "Kann KBX nicht finden. Bitte prüfen ob Steckernetzteil und USB Kabel richtig angeschlossen sind")},
    {10618, QT_TRANSLATE_NOOP("StringTable", "Öffnen")},
    {10619,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "Programmierung fertig. Bitte schalten Sie das Gerät aus und wieder ein, damit alle Änderungen "
         "wirksam werden.")},
    {10620, QT_TRANSLATE_NOOP("StringTable", "Lesen vollständig")},
    {10621, QT_TRANSLATE_NOOP("StringTable", "Lese aus Gerät...")},
    {10624, QT_TRANSLATE_NOOP("StringTable", "Speichern als")},
    {10625,
     QT_TRANSLATE_NOOP("StringTable",
                       "Ausgewähltes Produkt wurde geändert um das angeschlossene Gerät darzustellen")},
    {10626, QT_TRANSLATE_NOOP(
                "StringTable",
                "Das angeschlossene Gerät ist kein BORA, ZAL, MUVE, MUVE+ oder DORF.\n\nMöchten Sie die "
                "Konfiguration speichern, um diese durch VESK überprüfen zu lassen?")},
    {10627,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "Das angeschlossene Gerät ist kein BORA, ZAL, MUVE, MUVE+ oder DORF.\n\nBitte nehmen Sie mit dem "
         "Service von VESK Kontakt auf.")},
    {10628,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "Die ausgewählte Datei passt nicht zu BORA, ZAL, MUVE, MUVE+ oder DORF!\n\nBitte nehmen Sie mit "
         "dem Service von VESK Kontakt auf.")},
    {10629,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "Unbekannte Versionsnummer. (0x%s%s)\n\nMöchten Sie die Konfiguration speichern, um diese durch "
         "VESK überprüfen zu lassen?")},
    {10630,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "Unbekannte Versionsnummer. (0x%s%s)\n\nBitte nehmen Sie mit dem Service von VESK Kontakt auf.")},
    {10631,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "Unbekannte Versionsnummer. (0x%s%s)\n\nBitte nehmen Sie mit dem Service von VESK Kontakt auf.")},
    {10632, QT_TRANSLATE_NOOP("StringTable", "Vergleiche Gerät...")},
    {10633, QT_TRANSLATE_NOOP("StringTable", "Fehler bei Überprüfung")},
    {10634, QT_TRANSLATE_NOOP("StringTable", "Warte auf Auslösung Sender")},
    {10635, QT_TRANSLATE_NOOP("StringTable", "Schreiben und Überprüfung vollständig")},
    {10636, QT_TRANSLATE_NOOP("StringTable", "Schreibe zu Gerät...")},
    {10637, QT_TRANSLATE_NOOP("StringTable", "Abbruch")},
    {10638, QT_TRANSLATE_NOOP("StringTable", "Beenden")},
    {10639, QT_TRANSLATE_NOOP("StringTable", "gleiche")},
    {10640, QT_TRANSLATE_NOOP("StringTable", "Transparent")},
    {10641,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "Angeschlossenes Gerät ist nicht kompatibel. Lesen Sie die Einstellungen aus dem Gerät aus um "
         "diese dann zu ändern oder die Firmware der Gerätes muss erneuert werden.")},
    {10642,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "Standard Datei ist fehlerhaft. Bitte nehmen Sie mit dem Service von VESK Kontakt auf. (Der Wert "
         "%s an der Adresse %s ist nicht korrekt)")},
    {10643,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "Ausgewählte Datei ist fehlerhaft. Bitte nehmen Sie mit dem Service von VESK Kontakt auf. (Der "
         "Wert %s an der Adresse %s ist nicht korrekt)")},
    {10644,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "Konfiguration im Gerät ist fehlerhaft oder nicht kompatibel mit der Programmversion.\nBitte "
         "versuchen Sie im Menü Datei->Neu und dann Kommunikation-Schreibe in Gerät.\nWird der Fehler "
         "weiterhin gemeldet, so nehmen Sie bitte mit dem Service von VESK Kontakt auf.\n(Der Wert %s an "
         "der Adresse %s ist nicht korrekt)")},
    {10645, QT_TRANSLATE_NOOP("StringTable", "Fehler beim Konvertieren von Daten")},
    {10646,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "Angeschlossenes Gerät ist kein %s, bitte lesen Sie die Daten erst aus dem angeschlossenen Gerät "
         "aus, bevor Sie die Funk ID-Codes ändern.")},
    {10647, QT_TRANSLATE_NOOP(
                "StringTable",
                "Das angeschlossene Gerät wird nicht unterstützt. Bitte machen Sie ein Update auf die neuste "
                "Version des ZAL Programmers.")},
    {10648, QT_TRANSLATE_NOOP(
                "StringTable",
                "Die ausgewählte Datei wird nicht unterstützt. Bitte machen Sie ein Update auf die neuste "
                "Version des ZAL Programmers.")},
    {10649,
     QT_TRANSLATE_NOOP("StringTable", "Das angeschlossene Gerät ist kein BORA, ZAL, MUVE, MUVE+ oder DORF.")},
    {10650,
     QT_TRANSLATE_NOOP("StringTable",
                       "Die Konfiguration des angeschlossenen Gerätes wurde in einer Datei gespeichert.")},
    {10651,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "Das angeschlossene Gerät MUVE+ unterstützt die ausgewählte Alternative zum Quittieren des "
         "Funkempfangs "
         "nicht.\n\rBitte rüsten Sie die aktuelle Firmware des MUVE+ auf, oder wählen Sie ‚Empfang "
         "quittieren' "
         "oder ‚Empfang nicht quittieren' unter den Einstellungen im Bereich Funk im Fenster ‚Weitere'.")},
    {10652, QT_TRANSLATE_NOOP("StringTable", "Positionsalarme werden erst ab Version 22.8 unterstützt")},
    {10661,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "Die ausgewählte Datei ist nicht kompatibel. Möchten Sie den Dateityp %s mit %s überschreiben?")},
    {10662, QT_TRANSLATE_NOOP("StringTable", "Die ausgewählte Datei ist nicht kompatibel. Möchten Sie den "
                                             "Dateiversion %s with %s überschreiben?")},
    {10663,
     QT_TRANSLATE_NOOP("StringTable",
                       "Das angeschlossene Gerät wurde erfolgreich mit neuen Funk ID-Codes beschrieben.")},
    {10664, QT_TRANSLATE_NOOP("StringTable", "Datei %s, wurde im Anwendungsverzeichnis nicht gefunden.")},
    {10665,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "Bitte zuerst die Gerätefirmware auf v1.x erneuern (mit Brennix). Haben Sie die Gerätefirmware "
         "erneuert?")},
    {10666,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "Byte für Version wurde im Gerätespeicher geändert. Jetzt bitte Datei-Neu version-V1.x, und dann "
         "Kommunikation-Schreibe in Gerät.")},
    {10667,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "Angeschlossenes Gerät wurde auf ‚%s’ Version %s upgedatet. Bitte schalten Sie das Gerät aus und "
         "wieder ein, damit alle Änderungen wirksam werden.")},
    {10668, QT_TRANSLATE_NOOP("StringTable",
                              "Möchten Sie wirklich ,Default %s' zu angeschlossene Gerät schreiben?")},
    {10669, QT_TRANSLATE_NOOP(
                "StringTable",
                "Die ausgelesene Konfiguration ist defekt oder inkompatibel zu der im Gerät befindlichen "
                "Firmware.\nBitte überprüfen Sie alle Parameter und schreiben Sie diese zurück in das "
                "Gerät.\nWenn die Probleme weiterhin bestehen, nehmen Sie Kontakt mit VESK auf.")},
    {10671, QT_TRANSLATE_NOOP("StringTable", "ID code hat immer 4 Stellen")},
    {10672,
     QT_TRANSLATE_NOOP("StringTable", "Schwellwert für Eingang 4 muss einen Wert zwischen 0 und 3 haben")},
    {10673,
     QT_TRANSLATE_NOOP("StringTable", "Schwellwert für Eingang 5 muss einen Wert zwischen 0 und 3 haben")},
    {10675, QT_TRANSLATE_NOOP("StringTable", "Testintervall muss einen Wert zwischen 0 und %s haben")},
    {10676,
     QT_TRANSLATE_NOOP("StringTable",
                       "Legen Sie die ,Batterie Ladedauer' fest. Wert muss zwischen 0 und 255 liegen.")},
    {10677, QT_TRANSLATE_NOOP("StringTable",
                              "Der Wert für die ,Einschaltverzögerung' muss zwischen 0 und 255 liegen.")},
    {10678, QT_TRANSLATE_NOOP("StringTable",
                              "Der Wert für die ,Auslöseverzögerung' muss zwischen 0 und 255 liegen.")},
    {10679, QT_TRANSLATE_NOOP("StringTable",
                              "Der Wert für die ,Ausgangsaktivierungsdauer' muss zwischen 0 und %s liegen.")},
    {10680, QT_TRANSLATE_NOOP("StringTable",
                              "Anzahl der kurzen Übertragungen muss einen Wert zwischen 0 und 255 haben")},
    {10681, QT_TRANSLATE_NOOP("StringTable",
                              "Anzahl der langen Übertragungen muss einen Wert zwischen 0 und 255 haben")},
    {10682,
     QT_TRANSLATE_NOOP("StringTable", "Eingetragener Wert für ,Verzögerung' muss zwischen 0 und %s liegen.")},
    {10683,
     QT_TRANSLATE_NOOP("StringTable",
                       "Eingetragener Wert für ,Maximale Wiederholungen' muss zwischen 1 und 15 liegen.")},
    {10684,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "Eingetragener Wert für ,Sperrzeit gleicher Code ohne Quittung' muss zwischen 0 und 255 liegen.")},
    {10685,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "Eingetragener Wert für ,Sperrzeit gleicher Code ohne Quittung' muss zwischen 0 und 3600 liegen.")},
    {10686,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "Eingetragener Wert für ,Sperrzeit gleicher Code mit Quittung' muss zwischen 0 und 3600 liegen.")},
    {10687, QT_TRANSLATE_NOOP("StringTable",
                              "Ungültiger Funk-ID Code.\nVerwenden Sie nicht den Wert 0000 oder FFFF")},
    {10688, QT_TRANSLATE_NOOP(
                "StringTable",
                "Ungültiger Funk-ID Code.\nVerwenden Sie nicht den Wert 0000 oder zwischen FFF6...FFFF")},
    {10689,
     QT_TRANSLATE_NOOP("StringTable",
                       "Der eingetragene Wert für 'Batteriealarm Intervall' muss zwischen 0 und %s liegen.")},
    {10690, QT_TRANSLATE_NOOP(
                "StringTable",
                "Der eingetragene Wert für 'Batterie schwach Schwellwert' muss zwischen 0 und 6.0 liegen.")},
    {10691,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "Der eingetragene Wert für 'Trägerempfindlichkeit Schwellwert' muss zwischen 0 und 31 liegen.")},
    {10692, QT_TRANSLATE_NOOP(
                "StringTable",
                "Der eingegebene Wert für 'Relais sperren nach Personal' muss zwischen 0 und 25 liegen.")},
    {10693, QT_TRANSLATE_NOOP("StringTable", "Gerätetyp Wertebereich von 0 bis 255.")},
    {10694,
     QT_TRANSLATE_NOOP("StringTable",
                       "Eingetragener Wert für ,Alarm Rückstellzeit' muss zwischen 0 und 6553 liegen.")},
    {10695,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "Der eingetragene Wert für 'Trägerempfindlichkeit Schwellwert' muss zwischen -128 und 127 liegen.")},
    {10701, QT_TRANSLATE_NOOP("StringTable", "Über ZAL family programmer")},
    {10702, QT_TRANSLATE_NOOP("StringTable", "ZAL family programmer")},
    {10703, QT_TRANSLATE_NOOP("StringTable", "ZAL family programmer")},
    {10704, QT_TRANSLATE_NOOP("StringTable", "(Default)")},
    {10705, QT_TRANSLATE_NOOP("StringTable", "KBX info: %s")},
    {10706, QT_TRANSLATE_NOOP("StringTable", "(aus Gerät ausgelesen)")},
    {10711, QT_TRANSLATE_NOOP("StringTable", "Aus")},
    {10712, QT_TRANSLATE_NOOP("StringTable", "Sende unverändert")},
    {10713, QT_TRANSLATE_NOOP("StringTable", "Verwende Jumper")},
    {10714, QT_TRANSLATE_NOOP("StringTable", "Schliesser Kontakt")},
    {10715, QT_TRANSLATE_NOOP("StringTable", "Nein")},
    {10716, QT_TRANSLATE_NOOP("StringTable", "Normal")},
    {10717, QT_TRANSLATE_NOOP("StringTable", "Nein/Funktion aus")},
    {10718, QT_TRANSLATE_NOOP("StringTable", "Ja")},
    {10731, QT_TRANSLATE_NOOP("StringTable", "Sende 1. feste")},
    {10732, QT_TRANSLATE_NOOP("StringTable", "Sende 2. feste")},
    {10733, QT_TRANSLATE_NOOP("StringTable", "Sende 3. feste")},
    {10734, QT_TRANSLATE_NOOP("StringTable", "Sende 4. feste")},
    {10735, QT_TRANSLATE_NOOP("StringTable", "Sende 5. feste")},
    {10741, QT_TRANSLATE_NOOP("StringTable", "Minuten")},
    {10742, QT_TRANSLATE_NOOP("StringTable", "Stunden")},
    {10761, QT_TRANSLATE_NOOP("StringTable", "Empfang quittieren")},
    {10762, QT_TRANSLATE_NOOP("StringTable", "Empfang nicht quittieren")},
    {10763, QT_TRANSLATE_NOOP("StringTable", "Quittung nur an Sender")},
    {10764, QT_TRANSLATE_NOOP("StringTable", "Quittung nur an Repeater")},
    {10801, QT_TRANSLATE_NOOP("StringTable", "Ändere feste Funk-ID Codes")},
    {10802, QT_TRANSLATE_NOOP("StringTable", "1. feste")},
    {10803, QT_TRANSLATE_NOOP("StringTable", "2. feste")},
    {10804, QT_TRANSLATE_NOOP("StringTable", "3. feste")},
    {10805, QT_TRANSLATE_NOOP("StringTable", "4. feste")},
    {10806, QT_TRANSLATE_NOOP("StringTable", "5. feste")},
    {10807, QT_TRANSLATE_NOOP("StringTable", "6. feste")},
    {10808, QT_TRANSLATE_NOOP("StringTable", "7. feste")},
    {10809, QT_TRANSLATE_NOOP("StringTable", "8. feste")},
    {10810, QT_TRANSLATE_NOOP("StringTable", "Feste Eing.")},
    {10811, QT_TRANSLATE_NOOP("StringTable", "Alter Funk-ID Code")},
    {10812, QT_TRANSLATE_NOOP("StringTable", "Neuer Funk-ID Code")},
    {10813, QT_TRANSLATE_NOOP("StringTable", "Abbruch")},
    {10814, QT_TRANSLATE_NOOP("StringTable", "Schreibe in Gerät")},
    {19999, QT_TRANSLATE_NOOP("StringTable", "\\VESK\\ZAL Programmer (DE)\\")},
};

const Entry* Find(int id) {
    auto it = std::lower_bound(std::begin(kEntries), std::end(kEntries), id,
                               [](const Entry& e, int key) { return e.id < key; });
    return (it != std::end(kEntries) && it->id == id) ? it : nullptr;
}

} // namespace

QString Str(int id) {
    const Entry* e = Find(id);
    if (!e)
        return QString();
    // A text has the same number in both languages; the German text is the key of its translation.
    return CurrentLanguage() == Language::German ? QString::fromUtf8(e->text)
                                                 : QCoreApplication::translate("StringTable", e->text);
}

bool HasStr(int id) {
    return Find(id) != nullptr;
}

QString FormatText(const QString& format, const QStringList& args) {
    QString out;
    out.reserve(format.size() + 16);
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] == u'%' && i + 1 < format.size()) {
            if (format[i + 1] == u's' && next < args.size()) {
                out += args[next++];
                ++i;
                continue;
            }
            if (format[i + 1] == u'%') {
                out += u'%';
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

QString StrF(int id, const QStringList& args) {
    return FormatText(Str(id), args);
}

} // namespace zal
