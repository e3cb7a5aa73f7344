; Values.i - the settings file of the ZAL family programmer as shipped.
;
; The program installs it into its data folder as Values.ini on the first start and refreshes it
; whenever a new program version starts; what the user set (ConfigDirectory, the [Records] and
; [Backups] sections) survives a refresh.
;
; Each list section names the items of one kind of drop-down field: the key is the number the device
; stores, the text is what the technician sees. A missing key or "<EMPTY>" adds no item, "<END>" ends
; the list.

[Setup]

[ProductName]
1=BORA
2=ZAL
3=MUVE
4=DORF
5=MUVE+
79=MUVE+ II
80=<END>

[AlarmType]
0=Normaler Alarm
1=Notruf
2=Überfallalarm
3=Brandalarm
4=Technischer Alarm
5=Personalruf
6=Anwesenheit Personal
7=Batterie schwach
8=Testalarm
9=Sabotage
10=<END>

[RadioTxPlus]
0=Aus
1=Sende mit 1. fester ID
2=Sende mit 2. fester ID
3=Sende mit 3. fester ID
4=Sende mit 4. fester ID
5=Sende mit 5. fester ID
6=Sende mit 6. fester ID
7=Sende mit 7. fester ID
8=Sende mit 8. fester ID
255=Sende unverändert

[RadioTx1]
0=Aus
1=Sende unverändert
2=Sende mit 1. fester ID
3=Sende mit eigener fester ID
4=<END>

[RadioTx2]
0=Aus
1=Sende unverändert
2=Sende mit 1. fester ID
3=<END>

[RadioTx3]
0=Aus
1=<EMPTY>
2=Sende mit 1. fester ID
3=Sende mit eigener fester ID
4=<END>

[RadioTx_COMP]
0=Aus
1=Sende mit fester ID
2=<END>

[Relay1]
0=Aus
1=Relais Impuls
2=Relais umschalten
3=Relais ein
4=Relais aus
5=<END>

[Relay2]
0=Aus
1=Relais Impuls
2=Relais umschalten
3=Relais ein bis Rückstellung
4=Relais aus
5=<END>

[ActionRelay_COMP]
0=Aus
1=Relais Impuls
2=Relais umschalten
3=Relais ein
4=<END>

[WiredRelay_COMP]
0=Aus
1=Relais Impuls
2=Relais umschalten
3=Relais ein
4=Relais aus
5=Relais Impuls invertiert
6=Relais folgt Eingang
7=Relais folgt Eingang invertiert
8=<END>

[YesNo]
1=Ja
2=Nein
3=<END>

[JumperYesNo]
0=Verwende Jumper
1=Ja
2=Nein
3=<END>

[InputType_123]
0=Schliesser Kontakt
1=Öffner Kontakt
2=Eingang nicht verwendet
3=<END>

[InputType_45]
0=Schliesser Kontakt
1=Öffner Kontakt
2=Eingang nicht verwendet
3=Analogeingang
4=<END>

[InputType_45_BORA]
0=Schliesser Kontakt
1=Öffner Kontakt
2=Eingang nicht verwendet
3=Analogeingang (Spannung)
4=<END>

[Threshold]
0=unter dem Schwellwert liegt
1=über dem Schwellwert liegt
2=<END>

[PowerMode1]
0=Verwende Jumper
1=Normal
2=Stromsparmodus
3=<END>

[NoYesFunction]
0=Nein/Funktion aus
1=Ja
2=<END>

[FrequencyRegion]
0=Europa (869 MHz)
1=Skandinavien (869 MHz)
2=Grossbritannien (869 MHz)
3=Export (868 MHz)
4=<END>

[FrequencyRegionPlus]
0=Europa (869 MHz)
1=Skandinavien (869 MHz)
2=Grossbritannien (869 MHz)
3=Export (868 MHz)
4=<END>

[KorbaType]
0=Nicht verwendet
1=Zimmer
2=Flur
3=Aufenthaltsraum
4=Ausgang
5=Personalraum
6=<END>

[FrequencyBand]
0=869,2125 MHz (Band A)
1=869,5250 MHz (Band B)
2=Band A und Band B

[RadioProtocol]
0=Standard (kurze ID)
2=Erweitert (lange ID)
3=Reserviert
