/*
 * texts.c  -  display texts of the panel, every language in one file.
 *
 * Each text stands on its own line and ends with "  // n", n being the
 * language: 0 English, 1 Polski, 2 Deutsch. Texts are Windows-1250.
 */
#include <stddef.h>
#include "texts.h"

#define LANGUAGES   3

#if LANGUAGES > 49
#error "at most 49 languages fit"
#endif

/* The language names, in the order of the texts below. */
const char *language_names[LANGUAGES] = {
                   "English",                                 // 0
                   "Polski",                                  // 1
                   "Deutsch",                                 // 2
};

/* One text per language. */
const char *title[LANGUAGES] = {
                   "Welcome",                                 // 0
                   "Witamy",                                  // 1
                   "Willkommen",                              // 2
};

/* The main menu: four texts per language. */
const char *main_menu[LANGUAGES][4] = {
                   "Start measurement",                       // 0
                   "Settings",                                // 0
                   "Results",                                 // 0
                   "Exit",                                    // 0
                   "Rozpocznij pomiar",                       // 1
                   "Ustawienia",                              // 1
                   "Wyniki",                                  // 1
                   "Wyjœcie",                                 // 1
                   "Messung starten",                         // 2
                   "Einstellungen",                           // 2
                   "Ergebnisse",                              // 2
                   "Beenden",                                 // 2
};

/* Status line, grouped per language; the first group gives the count. */
const char *status_texts[][3] = {
{
                   "Ready",                                   // 0
                   "Measuring...",                            // 0
                   "Battery low",                             // 0
},
{
                   "Gotowy",                                  // 1
                   "Trwa pomiar...",                          // 1
                   "S³aba bateria",                           // 1
},
{
                   "Bereit",                                  // 2
                   "Messung läuft...",                        // 2
                   "Batterie schwach",                        // 2
}
};

/* New in this release: English only so far. */
const char *help_texts[][2] = {
{
                   "Press OK to confirm the value.",          // 0
                   "Hold an arrow key to change the value quickly.",  // 0
},
};
