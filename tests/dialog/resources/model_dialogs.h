/* Dialogs of the tests of the Linux layer's dialog model (model_dialogs.rc): the
   styles and classes that dialog 101 does not have, one dialog in five languages, and
   the template forms that the resource reader must know. */
#ifndef TESTS_DIALOG_MODEL_DIALOGS_H
#define TESTS_DIALOG_MODEL_DIALOGS_H

#define DLG_TAB_STOPS 201
#define DLG_SORTED 202
#define DLG_UNKNOWN_CLASS 203
#define DLG_LIST_KINDS 211
#define DLG_RADIO_GROUPS 212
#define DLG_DEFAULT_BUTTON 213
#define DLG_UNREACHABLE 214
#define DLG_LANGUAGES 301
#define DLG_EXTENDED 401
#define DLG_PLAIN 402

#endif
