<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>CardHandOver</name>
    <message>
        <source>Save &amp;as…</source>
        <translation>Speichern &amp;unter …</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Print…</source>
        <translation>&amp;Drucken …</translation>
    </message>
    <message>
        <source>A&amp;bout</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>The card was not saved</source>
        <translation>Die Karte wurde nicht gespeichert</translation>
    </message>
    <message>
        <source>The card could not be saved as
%1

Reason: %2.</source>
        <translation>Die Karte konnte nicht gespeichert werden als
%1

Grund: %2.</translation>
    </message>
    <message>
        <source>Saved as %1</source>
        <translation>Gespeichert als %1</translation>
    </message>
    <message>
        <source>PNG image (*.png)</source>
        <translation>PNG-Bild (*.png)</translation>
    </message>
    <message>
        <source>Save the card as</source>
        <translation>Karte speichern unter</translation>
    </message>
    <message>
        <source>BMP image (*.bmp)</source>
        <translation>BMP-Bild (*.bmp)</translation>
    </message>
    <message>
        <source>The card is on the clipboard</source>
        <translation>Die Karte ist in der Zwischenablage</translation>
    </message>
    <message>
        <source>Printed to %1</source>
        <translation>Gedruckt in %1</translation>
    </message>
    <message>
        <source>About New-Year Card</source>
        <translation>Über die Neujahrskarte</translation>
    </message>
    <message>
        <source>&lt;h3&gt;New-Year Card %1&lt;/h3&gt;&lt;p&gt;Type a name, get a New-Year greeting card painted as generative art.&lt;/p&gt;&lt;p&gt;Cards handed out by &lt;b&gt;%2&lt;/b&gt;.&lt;/p&gt;&lt;p&gt;Copyright © 2026 The New-Year Card authors. Free software under the MIT licence: you are free to change and redistribute it. There is no warranty, to the extent permitted by law.&lt;/p&gt;&lt;p&gt;It uses the work of others, each under its own licence: Qt (LGPL version 3), SLEEF (Boost Software License), libdeflate (MIT) and glyphs made from the DejaVu Sans font (Bitstream Vera licence). The notices are in /usr/share/doc/newyear-card/copyright.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;Neujahrskarte %1&lt;/h3&gt;&lt;p&gt;Einen Namen eingeben und eine Neujahrskarte erhalten, gemalt als generative Kunst.&lt;/p&gt;&lt;p&gt;Die Karten verteilt &lt;b&gt;%2&lt;/b&gt;.&lt;/p&gt;&lt;p&gt;Copyright © 2026 Die Autoren der Neujahrskarte. Freie Software unter der MIT-Lizenz: Sie dürfen sie ändern und weitergeben. Es gibt keine Garantie, soweit gesetzlich zulässig.&lt;/p&gt;&lt;p&gt;Sie verwendet die Arbeit anderer, jeweils unter eigener Lizenz: Qt (LGPL Version 3), SLEEF (Boost Software License), libdeflate (MIT) und Glyphen aus der Schrift DejaVu Sans (Bitstream-Vera-Lizenz). Die Hinweise stehen in /usr/share/doc/newyear-card/copyright.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>The card could not be dragged: %1</source>
        <translation>Die Karte konnte nicht gezogen werden: %1</translation>
    </message>
</context>
<context>
    <name>CardText</name>
    <message>
        <source>repeat</source>
        <translation>wiederholen</translation>
    </message>
    <message>
        <source>save on C:\wimgx</source>
        <translation>auf C:\wimgx speichern</translation>
    </message>
    <message>
        <source>exit</source>
        <translation>beenden</translation>
    </message>
    <message>
        <source>enter your name and surname</source>
        <translation>Vor- und Nachnamen eingeben</translation>
    </message>
    <message>
        <source>small letters (lowercase, no čšž)</source>
        <translation>kleine Buchstaben (keine großen, kein čšž)</translation>
    </message>
    <message>
        <source>Invalid procedure call or argument</source>
        <translation>Ungültiger Prozeduraufruf oder ungültiges Argument</translation>
    </message>
    <message>
        <source>Overflow</source>
        <translation>Überlauf</translation>
    </message>
    <message>
        <source>Subscript out of range</source>
        <translation>Index außerhalb des gültigen Bereichs</translation>
    </message>
    <message>
        <source>Division by zero</source>
        <translation>Division durch null</translation>
    </message>
    <message>
        <source>Type mismatch</source>
        <translation>Typen unverträglich</translation>
    </message>
    <message>
        <source>Path/File access error</source>
        <translation>Fehler beim Zugriff auf Pfad oder Datei</translation>
    </message>
    <message>
        <source>Application-defined or object-defined error</source>
        <translation>Anwendungs- oder objektdefinierter Fehler</translation>
    </message>
</context>
<context>
    <name>CardWindow</name>
    <message>
        <source>Cards are saved in %1 (Ctrl+S)</source>
        <translation>Karten werden in %1 gespeichert (Strg+S)</translation>
    </message>
    <message>
        <source>Another name, another card (Ctrl+N)</source>
        <translation>Anderer Name, andere Karte (Strg+N)</translation>
    </message>
    <message>
        <source>End the program (Ctrl+Q)</source>
        <translation>Programm beenden (Strg+Q)</translation>
    </message>
    <message>
        <source>The card could not be saved as
%1

Reason: %2.

The card is still on screen: fix the cause and save again.</source>
        <translation>Die Karte konnte nicht gespeichert werden als
%1

Grund: %2.

Die Karte bleibt auf dem Bildschirm: Beheben Sie die Ursache und speichern Sie erneut.</translation>
    </message>
    <message>
        <source>Run-time error</source>
        <translation>Laufzeitfehler</translation>
    </message>
    <message>
        <source>Run-time error '%1':

%2</source>
        <translation>Laufzeitfehler '%1':

%2</translation>
    </message>
    <message>
        <source>Save &amp;video</source>
        <translation>&amp;Video speichern</translation>
    </message>
    <message>
        <source>The card growing, as an MP4 video beside its bitmap</source>
        <translation>Wie die Karte wächst, als MP4-Video neben ihrem Bild</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Usage: newyear-card [OPTION]...
Open a window that asks for a name and paints its New-Year greeting card.

  -h, --help     display this help and exit
      --version  output version information and exit

In the window, "repeat" (Ctrl+N, Ctrl+R or Alt+R) asks for another name,
"save on C:\wimgx" (Ctrl+S or Alt+S) saves the card as a BMP file in
~/wimgx, and "exit" (Ctrl+Q or Alt+X) ends the program.
Qt's own options, such as -platform and -display, are accepted too.
newyear-card-render makes the same cards without a window.
</source>
        <translation>Aufruf: newyear-card [OPTION]...
Öffnet ein Fenster, das nach einem Namen fragt und seine Neujahrskarte malt.

  -h, --help     diese Hilfe anzeigen und beenden
      --version  Versionsinformation anzeigen und beenden

Im Fenster fragt "wiederholen" (Strg+N, Strg+R oder Alt+W) nach einem anderen
Namen, "auf C:\wimgx speichern" (Strg+S oder Alt+A) speichert die Karte als
BMP-Datei in ~/wimgx, und "beenden" (Strg+Q oder Alt+E) beendet das Programm.
Qts eigene Optionen wie -platform und -display werden ebenfalls angenommen.
newyear-card-render macht dieselben Karten ohne Fenster.
</translation>
    </message>
</context>
<context>
    <name>NameDialog</name>
    <message>
        <source>Capital letters can't be used</source>
        <translation>Großbuchstaben können nicht verwendet werden</translation>
    </message>
    <message>
        <source>Digits can't be used</source>
        <translation>Ziffern können nicht verwendet werden</translation>
    </message>
    <message>
        <source>Tabs can't be used</source>
        <translation>Tabulatoren können nicht verwendet werden</translation>
    </message>
    <message>
        <source>Control characters can't be used</source>
        <translation>Steuerzeichen können nicht verwendet werden</translation>
    </message>
    <message>
        <source>Letters with marks such as "%1" can't be used</source>
        <translation>Buchstaben mit Zeichen wie "%1" können nicht verwendet werden</translation>
    </message>
    <message>
        <source>"%1" can't be used: only the letters a to z and spaces</source>
        <translation>"%1" kann nicht verwendet werden: nur die Buchstaben a bis z und Leerzeichen</translation>
    </message>
    <message>
        <source>The name has %1 characters: at most %2 can be used.</source>
        <translation>Der Name hat %1 Zeichen: höchstens %2 sind erlaubt.</translation>
    </message>
    <message>
        <source>%1: try "%2".</source>
        <translation>%1: Versuchen Sie "%2".</translation>
    </message>
</context>
<context>
    <name>VideoSaver</name>
    <message>
        <source>There is no card to film yet.</source>
        <translation>Es gibt noch keine Karte zum Filmen.</translation>
    </message>
    <message>
        <source>A video is being made; one at a time.</source>
        <translation>Ein Video entsteht gerade; eines nach dem anderen.</translation>
    </message>
    <message>
        <source>Making the video of the card...</source>
        <translation>Das Video der Karte entsteht …</translation>
    </message>
    <message>
        <source>the video was not made: out of memory</source>
        <translation>das Video wurde nicht erstellt: kein Speicher mehr</translation>
    </message>
    <message>
        <source>The video was not saved as %1: %2.</source>
        <translation>Das Video wurde nicht gespeichert als %1: %2.</translation>
    </message>
    <message>
        <source>Video saved: %1</source>
        <translation>Video gespeichert: %1</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
</TS>
