// Every resource and control identifier of the program, in one place.
// Plain #defines only: windres reads this file too.
#pragma once

// Dialog templates (all without controls; the windows create them in code).
#define IDD_ABOUTBOX                100
#define IDD_WAVESETTINGS            102
#define IDD_CUSTOMSYNC              178
#define IDD_DIAGNOSTICS             193

// Application icon: 32 x 32 and 16 x 16.
#define IDI_APP                     128

// System menu entry of the main window that opens the about box.
#define IDM_ABOUTBOX                16

// Bitmaps. Button sets: the plain name is the picture at rest, _DOWN the one
// held down. Switches: OFF/ON is the state, UP/DOWN raised or held.
#define IDB_STONE                   137
#define IDB_SYNC_PLAY_ON_DOWN       140
#define IDB_SYNC_PLAY_OFF_UP        141
#define IDB_SYNC_PLAY_ON_UP         142
#define IDB_SYNC_REC_ON_DOWN        143
#define IDB_SYNC_REC_OFF_UP         144
#define IDB_SYNC_REC_ON_UP          145
#define IDB_ENABLE_ON_DOWN          146
#define IDB_ENABLE_OFF_UP           147
#define IDB_ENABLE_ON_UP            148
#define IDB_SYNC_PLAY_OFF_DOWN      149
#define IDB_SYNC_REC_OFF_DOWN       150
#define IDB_ENABLE_OFF_DOWN         151
#define IDB_FADER_TRACK             155
#define IDB_FADER_THUMB             156
#define IDB_KNOB                    158
#define IDB_OK                      159
#define IDB_OK_DOWN                 160
#define IDB_HELP                    162
#define IDB_HELP_DOWN               163
#define IDB_AUTO_SYNC_OFF_DOWN      164
#define IDB_AUTO_SYNC_ON_DOWN       165
#define IDB_AUTO_SYNC_OFF_UP        166
#define IDB_AUTO_SYNC_ON_UP         167
#define IDB_RETRIEVE_DEFAULTS_DOWN  172
#define IDB_RETRIEVE_DEFAULTS       173
#define IDB_SAVE_DEFAULTS_DOWN      174
#define IDB_SAVE_DEFAULTS           175
#define IDB_FADER_THUMB_OFF         179
#define IDB_FADER_TRACK_OFF         180
#define IDB_DISABLE_ALL_DOWN        181
#define IDB_DISABLE_ALL             182
#define IDB_ENABLE_ALL_DOWN         183
#define IDB_ENABLE_ALL              184
#define IDB_CUSTOM_DOWN             185
#define IDB_CUSTOM                  186
#define IDB_KNOB_OFF                187
#define IDB_DROP_DOWN               189
#define IDB_DROP                    190
#define IDB_AUDIO_SETTINGS_DOWN     191
#define IDB_AUDIO_SETTINGS          192
#define IDB_DIAGNOSTICS_DOWN        194
#define IDB_DIAGNOSTICS             195
#define IDB_RESET_CARD_DOWN         196
#define IDB_RESET_CARD              197
#define IDB_FREE_CARD_DOWN          198
#define IDB_FREE_CARD               199
#define IDB_FIELD                   200
#define IDB_EMBLEM                  203
#define IDB_METERS_DOWN             204
#define IDB_METERS                  205
#define IDB_LAMP_PLAYING            209
#define IDB_LAMP_PLAY_OPEN          210
#define IDB_LAMP_REC_OPEN           212
#define IDB_LAMP_RECORDING          213
#define IDB_LAMP_PLAY_IDLE          216
#define IDB_LAMP_REC_IDLE           217

// String table.
#define IDS_ABOUTBOX                101
#define IDS_ADAT12                  102
#define IDS_ADAT34                  103
#define IDS_ADAT56                  104
#define IDS_ADAT78                  105
#define IDS_ANALOG                  106
#define IDS_SPDIF                   107
#define IDS_BALANCE                 108
#define IDS_VOLUME                  109
#define IDS_NOTICE                  110
#define IDS_TITLE                   111
#define IDS_VERSION                 112
#define IDS_STREAM12                115
#define IDS_STREAM34                116
#define IDS_STREAM56                117
#define IDS_STREAM78                118
#define IDS_SETTINGS                119
#define IDS_SYNCHRONIZATION         120
#define IDS_AUTO_SYNC_REFUSAL       121
#define IDS_CUSTOM_SYNC_TITLE       122
#define IDS_VOLUME_BALANCE          123
#define IDS_CONTROL                 124
#define IDS_SYNC_RECORD             125
#define IDS_SYNC_PLAYBACK           126
#define IDS_CLOCK                   127
#define IDS_CLOCK_INTERNAL          128
#define IDS_CLOCK_ADAT              129
#define IDS_CLOCK_SPDIF             130
#define IDS_CLOCK_WORD              131
#define IDS_RATE_44100              132
#define IDS_RATE_48000              133
#define IDS_AUDIO_SETTINGS_TITLE    134
#define IDS_DIAGNOSTICS_TITLE       135
#define IDS_CARD_STATE              136
#define IDS_DMA_STATUS              137
#define IDS_DMA_ERRORS              138
#define IDS_FPGA_REVISION           139
#define IDS_CLOCK_FREQUENCY         140
#define IDS_STATE_UNINITIALIZED     141
#define IDS_STATE_READY             142
#define IDS_STATE_OPENED            143
#define IDS_STATE_OPENED_MULTI      144
#define IDS_STATE_ERROR             145
#define IDS_DMA_UNINITIALIZED       146
#define IDS_DMA_SETUP               147
#define IDS_DMA_ACTIVE              148
#define IDS_DMA_ERROR               149
#define IDS_STATE_READY_MULTI       150
#define IDS_IDLE                    151
#define IDS_DEVICE_STATUS           152

// Controls of the main window. Per channel 0..9: Analog, S/PDIF, ADAT 1-2 to
// ADAT 7-8, Stream 1-2 to Stream 7-8.
#define IDC_ENABLE_ANALOG           44
#define IDC_ENABLE_SPDIF            47
#define IDC_ENABLE_ADAT12           32
#define IDC_ENABLE_ADAT34           35
#define IDC_ENABLE_ADAT56           38
#define IDC_ENABLE_ADAT78           41
#define IDC_ENABLE_STREAM12         74
#define IDC_ENABLE_STREAM34         76
#define IDC_ENABLE_STREAM56         78
#define IDC_ENABLE_STREAM78         80
#define IDC_FADER_ANALOG            54
#define IDC_FADER_SPDIF             55
#define IDC_FADER_ADAT12            50
#define IDC_FADER_ADAT34            51
#define IDC_FADER_ADAT56            52
#define IDC_FADER_ADAT78            53
#define IDC_FADER_STREAM12          82
#define IDC_FADER_STREAM34          83
#define IDC_FADER_STREAM56          84
#define IDC_FADER_STREAM78          85
#define IDC_KNOB_ANALOG             60
#define IDC_KNOB_SPDIF              61
#define IDC_KNOB_ADAT12             56
#define IDC_KNOB_ADAT34             57
#define IDC_KNOB_ADAT56             58
#define IDC_KNOB_ADAT78             59
#define IDC_KNOB_STREAM12           86
#define IDC_KNOB_STREAM34           87
#define IDC_KNOB_STREAM56           88
#define IDC_KNOB_STREAM78           89
#define IDC_LAMP                    100
#define IDC_BTN_OK                  62
#define IDC_BTN_HELP                64
#define IDC_BTN_ENABLE_ALL          65
#define IDC_BTN_DISABLE_ALL         66
#define IDC_BTN_SAVE_DEFAULTS       71
#define IDC_BTN_RETRIEVE_DEFAULTS   72
#define IDC_BTN_AUTO_SYNC           73
#define IDC_BTN_CUSTOM_SYNC         90
#define IDC_LST_CLOCK               92
#define IDC_LST_RATE                93
#define IDC_BTN_AUDIO_SETTINGS      94
#define IDC_BTN_DIAGNOSTICS         95
#define IDC_BTN_METERS              101

// Controls of the custom synchronization dialog.
#define IDC_SYNC_OK                 91
#define IDC_SYNC_RECORD_ALL_ON      67
#define IDC_SYNC_RECORD_ALL_OFF     68
#define IDC_SYNC_PLAYBACK_ALL_ON    69
#define IDC_SYNC_PLAYBACK_ALL_OFF   70
#define IDC_SYNC_REC_ANALOG         45
#define IDC_SYNC_PLAY_ANALOG        46
#define IDC_SYNC_REC_SPDIF          48
#define IDC_SYNC_PLAY_SPDIF         49
#define IDC_SYNC_REC_ADAT12         33
#define IDC_SYNC_PLAY_ADAT12        34
#define IDC_SYNC_REC_ADAT34         36
#define IDC_SYNC_PLAY_ADAT34        37
#define IDC_SYNC_REC_ADAT56         39
#define IDC_SYNC_PLAY_ADAT56        40
#define IDC_SYNC_REC_ADAT78         42
#define IDC_SYNC_PLAY_ADAT78        43
#define IDC_SYNC_PLAY_STREAM12      75
#define IDC_SYNC_PLAY_STREAM34      77
#define IDC_SYNC_PLAY_STREAM56      79
#define IDC_SYNC_PLAY_STREAM78      81

// Controls of the diagnostics window; the five value fields share one id.
#define IDC_DIAG_OK                 96
#define IDC_DIAG_FREE               97
#define IDC_DIAG_RESET              98
#define IDC_DIAG_FIELD              100

// Control of the about box.
#define IDC_ABOUT_OK                63
