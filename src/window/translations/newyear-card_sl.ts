<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="sl">
<context>
    <name>CardHandOver</name>
    <message>
        <source>Save &amp;as…</source>
        <translation>Shrani &amp;kot …</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopiraj</translation>
    </message>
    <message>
        <source>&amp;Print…</source>
        <translation>&amp;Natisni …</translation>
    </message>
    <message>
        <source>A&amp;bout</source>
        <translation>&amp;O programu</translation>
    </message>
    <message>
        <source>The card was not saved</source>
        <translation>Voščilnica ni bila shranjena</translation>
    </message>
    <message>
        <source>The card could not be saved as
%1

Reason: %2.</source>
        <translation>Voščilnice ni bilo mogoče shraniti kot
%1

Razlog: %2.</translation>
    </message>
    <message>
        <source>Saved as %1</source>
        <translation>Shranjeno kot %1</translation>
    </message>
    <message>
        <source>PNG image (*.png)</source>
        <translation>Slika PNG (*.png)</translation>
    </message>
    <message>
        <source>Save the card as</source>
        <translation>Shrani voščilnico kot</translation>
    </message>
    <message>
        <source>BMP image (*.bmp)</source>
        <translation>Slika BMP (*.bmp)</translation>
    </message>
    <message>
        <source>The card is on the clipboard</source>
        <translation>Voščilnica je v odložišču</translation>
    </message>
    <message>
        <source>Printed to %1</source>
        <translation>Natisnjeno v %1</translation>
    </message>
    <message>
        <source>About New-Year Card</source>
        <translation>O novoletni voščilnici</translation>
    </message>
    <message>
        <source>&lt;h3&gt;New-Year Card %1&lt;/h3&gt;&lt;p&gt;Type a name, get a New-Year greeting card painted as generative art.&lt;/p&gt;&lt;p&gt;Cards handed out by &lt;b&gt;%2&lt;/b&gt;.&lt;/p&gt;&lt;p&gt;Copyright © 2026 The New-Year Card authors. Free software under the MIT licence: you are free to change and redistribute it. There is no warranty, to the extent permitted by law.&lt;/p&gt;&lt;p&gt;It uses the work of others, each under its own licence: Qt (LGPL version 3), SLEEF (Boost Software License), libdeflate (MIT) and glyphs made from the DejaVu Sans font (Bitstream Vera licence). The notices are in /usr/share/doc/newyear-card/copyright.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;Novoletna voščilnica %1&lt;/h3&gt;&lt;p&gt;Vpišite ime in dobite novoletno voščilnico, naslikano kot generativna umetnost.&lt;/p&gt;&lt;p&gt;Voščilnice deli &lt;b&gt;%2&lt;/b&gt;.&lt;/p&gt;&lt;p&gt;Avtorske pravice © 2026 avtorji Novoletne voščilnice. Prosto programje z licenco MIT: lahko ga spreminjate in razširjate. Brez kakršnega koli jamstva, v obsegu, ki ga dovoljuje zakon.&lt;/p&gt;&lt;p&gt;Uporablja delo drugih, vsako s svojo licenco: Qt (LGPL, različica 3), SLEEF (Boost Software License), libdeflate (MIT) in znake, narejene iz pisave DejaVu Sans (licenca Bitstream Vera). Obvestila so v /usr/share/doc/newyear-card/copyright.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>The card could not be dragged: %1</source>
        <translation>Voščilnice ni bilo mogoče povleči: %1</translation>
    </message>
</context>
<context>
    <name>CardText</name>
    <message>
        <source>repeat</source>
        <translation>ponovi</translation>
    </message>
    <message>
        <source>save on C:\wimgx</source>
        <translation>shrani na C:\wimgx</translation>
    </message>
    <message>
        <source>exit</source>
        <translation>izhod</translation>
    </message>
    <message>
        <source>enter your name and surname</source>
        <translation>vpišite ime in priimek</translation>
    </message>
    <message>
        <source>small letters (lowercase, no čšž)</source>
        <translation>male črke (brez čšž)</translation>
    </message>
    <message>
        <source>Invalid procedure call or argument</source>
        <translation>Neveljaven klic postopka ali argument</translation>
    </message>
    <message>
        <source>Overflow</source>
        <translation>Prekoračitev</translation>
    </message>
    <message>
        <source>Subscript out of range</source>
        <translation>Indeks zunaj obsega</translation>
    </message>
    <message>
        <source>Division by zero</source>
        <translation>Deljenje z nič</translation>
    </message>
    <message>
        <source>Type mismatch</source>
        <translation>Neujemanje tipov</translation>
    </message>
    <message>
        <source>Path/File access error</source>
        <translation>Napaka pri dostopu do poti ali datoteke</translation>
    </message>
    <message>
        <source>Application-defined or object-defined error</source>
        <translation>Napaka, ki jo določa program ali predmet</translation>
    </message>
</context>
<context>
    <name>CardWindow</name>
    <message>
        <source>Cards are saved in %1 (Ctrl+S)</source>
        <translation>Voščilnice se shranijo v %1 (Ctrl+S)</translation>
    </message>
    <message>
        <source>Another name, another card (Ctrl+N)</source>
        <translation>Drugo ime, druga voščilnica (Ctrl+N)</translation>
    </message>
    <message>
        <source>End the program (Ctrl+Q)</source>
        <translation>Končaj program (Ctrl+Q)</translation>
    </message>
    <message>
        <source>The card could not be saved as
%1

Reason: %2.

The card is still on screen: fix the cause and save again.</source>
        <translation>Voščilnice ni bilo mogoče shraniti kot
%1

Razlog: %2.

Voščilnica je še na zaslonu: odpravite vzrok in jo shranite znova.</translation>
    </message>
    <message>
        <source>Run-time error</source>
        <translation>Napaka med izvajanjem</translation>
    </message>
    <message>
        <source>Run-time error '%1':

%2</source>
        <translation>Napaka med izvajanjem '%1':

%2</translation>
    </message>
    <message>
        <source>Save &amp;video</source>
        <translation>Shrani &amp;video</translation>
    </message>
    <message>
        <source>The card growing, as an MP4 video beside its bitmap</source>
        <translation>Rast voščilnice kot video MP4 ob njeni sliki</translation>
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
        <translation>Uporaba: newyear-card [MOŽNOST]...
Odpre okno, ki vpraša za ime in nariše njegovo novoletno voščilnico.

  -h, --help     prikaže to pomoč in konča
      --version  izpiše podatke o različici in konča

V oknu "ponovi" (Ctrl+N, Ctrl+R ali Alt+P) vpraša za drugo ime,
"shrani na C:\wimgx" (Ctrl+S ali Alt+S) shrani voščilnico kot datoteko BMP
v ~/wimgx, "izhod" (Ctrl+Q ali Alt+Z) pa konča program.
Sprejme tudi Qt-jeve možnosti, kot sta -platform in -display.
newyear-card-render naredi enake voščilnice brez okna.
</translation>
    </message>
</context>
<context>
    <name>NameDialog</name>
    <message>
        <source>Capital letters can't be used</source>
        <translation>Velikih črk ni mogoče uporabiti</translation>
    </message>
    <message>
        <source>Digits can't be used</source>
        <translation>Števk ni mogoče uporabiti</translation>
    </message>
    <message>
        <source>Tabs can't be used</source>
        <translation>Tabulatorjev ni mogoče uporabiti</translation>
    </message>
    <message>
        <source>Control characters can't be used</source>
        <translation>Krmilnih znakov ni mogoče uporabiti</translation>
    </message>
    <message>
        <source>Letters with marks such as "%1" can't be used</source>
        <translation>Črk z dodanimi znamenji, kot je "%1", ni mogoče uporabiti</translation>
    </message>
    <message>
        <source>"%1" can't be used: only the letters a to z and spaces</source>
        <translation>Znaka "%1" ni mogoče uporabiti: le črke od a do z in presledke</translation>
    </message>
    <message>
        <source>The name has %1 characters: at most %2 can be used.</source>
        <translation>Ime ima %1 znakov: uporabiti jih je mogoče največ %2.</translation>
    </message>
    <message>
        <source>%1: try "%2".</source>
        <translation>%1: poskusite "%2".</translation>
    </message>
</context>
<context>
    <name>VideoSaver</name>
    <message>
        <source>There is no card to film yet.</source>
        <translation>Voščilnice za snemanje še ni.</translation>
    </message>
    <message>
        <source>A video is being made; one at a time.</source>
        <translation>Video že nastaja; le eden naenkrat.</translation>
    </message>
    <message>
        <source>Making the video of the card...</source>
        <translation>Video voščilnice nastaja …</translation>
    </message>
    <message>
        <source>the video was not made: out of memory</source>
        <translation>videa ni bilo mogoče narediti: zmanjkalo je pomnilnika</translation>
    </message>
    <message>
        <source>The video was not saved as %1: %2.</source>
        <translation>Videa ni bilo mogoče shraniti kot %1: %2.</translation>
    </message>
    <message>
        <source>Video saved: %1</source>
        <translation>Video shranjen: %1</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>V redu</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Prekliči</translation>
    </message>
</context>
</TS>
