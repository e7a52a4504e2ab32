#pragma once

// Built-in roster that a new game starts from. Row number n becomes the team id "t-n",
// so the order of rows is part of the save format and must not change.

#include <cstddef>
#include <cstdint>

namespace teamforge {

struct RosterRow {
	const char *name;
	const char *region;
	int32_t vrs;
};

inline constexpr RosterRow DEFAULT_ROSTER[] = {
	{ "Vitality", "EU", 2090 }, // 0
	{ "Natus Vincere", "EU", 1925 }, // 1
	{ "FUT", "EU", 1882 }, // 2
	{ "Astralis", "EU", 1867 }, // 3
	{ "The MongolZ", "AS", 1858 }, // 4
	{ "FURIA", "AM", 1852 }, // 5
	{ "MOUZ", "EU", 1847 }, // 6
	{ "Falcons", "EU", 1813 }, // 7
	{ "Aurora", "EU", 1810 }, // 8
	{ "PARIVISION", "EU", 1791 }, // 9
	{ "Spirit", "EU", 1728 }, // 10
	{ "G2", "EU", 1676 }, // 11
	{ "3DMAX", "EU", 1598 }, // 12
	{ "paiN", "AM", 1596 }, // 13
	{ "9z", "AM", 1594 }, // 14
	{ "B8", "EU", 1590 }, // 15
	{ "Legacy", "AM", 1529 }, // 16
	{ "BetBoom", "EU", 1519 }, // 17
	{ "Monte", "EU", 1515 }, // 18
	{ "BIG", "EU", 1499 }, // 19
	{ "HEROIC", "EU", 1493 }, // 20
	{ "GamerLegion", "EU", 1490 }, // 21
	{ "Alliance", "EU", 1469 }, // 22
	{ "MIBR", "AM", 1467 }, // 23
	{ "SINNERS", "EU", 1461 }, // 24
	{ "FOKUS", "EU", 1452 }, // 25
	{ "M80", "AM", 1447 }, // 26
	{ "NRG", "AM", 1429 }, // 27
	{ "EYEBALLERS", "EU", 1422 }, // 28
	{ "Ninjas in Pyjamas", "EU", 1422 }, // 29
	{ "Nemesis", "EU", 1403 }, // 30
	{ "Sharks", "AM", 1394 }, // 31
	{ "K27", "EU", 1393 }, // 32
	{ "FaZe", "EU", 1380 }, // 33
	{ "Gaimin Gladiators", "AM", 1374 }, // 34
	{ "Nemiga", "EU", 1371 }, // 35
	{ "TYLOO", "AS", 1370 }, // 36
	{ "1win", "EU", 1358 }, // 37
	{ "BESTIA", "AM", 1345 }, // 38
	{ "HOTU", "EU", 1342 }, // 39
	{ "Liquid", "AM", 1339 }, // 40
	{ "illwill", "EU", 1338 }, // 41
	{ "Gentle Mates", "EU", 1335 }, // 42
	{ "100 Thieves", "EU", 1328 }, // 43
	{ "magic", "EU", 1313 }, // 44
	{ "Passion UA", "AM", 1310 }, // 45
	{ "Voca", "AM", 1309 }, // 46
	{ "9INE", "EU", 1309 }, // 47
	{ "Lynn Vision", "AS", 1306 }, // 48
	{ "BET-M", "EU", 1299 }, // 49
	{ "ODDIK", "AM", 1294 }, // 50
	{ "TDK", "EU", 1292 }, // 51
	{ "ShindeN", "AM", 1283 }, // 52
	{ "THUNDER dOWNUNDER", "AS", 1279 }, // 53
	{ "Inner Circle", "EU", 1277 }, // 54
	{ "Fluxo", "AM", 1276 }, // 55
	{ "RED Canids", "AM", 1275 }, // 56
	{ "Betclic", "EU", 1272 }, // 57
	{ "Wildcard", "AM", 1265 }, // 58
	{ "ARCRED", "EU", 1255 }, // 59
	{ "Tricked", "EU", 1249 }, // 60
	{ "FlyQuest", "AS", 1242 }, // 61
	{ "AM", "EU", 1238 }, // 62
	{ "Marsborne", "AM", 1236 }, // 63
	{ "Sashi", "EU", 1233 }, // 64
	{ "Nuclear TigeRES", "EU", 1233 }, // 65
	{ "Imperial", "AM", 1232 }, // 66
	{ "OG", "EU", 1229 }, // 67
	{ "Johnny Speeds", "EU", 1226 }, // 68
	{ "Eternal Fire", "EU", 1223 }, // 69
	{ "ECSTATIC", "EU", 1219 }, // 70
	{ "WW", "EU", 1215 }, // 71
	{ "Bluegate", "EU", 1207 }, // 72
	{ "AaB", "EU", 1190 }, // 73
	{ "Acend", "EU", 1188 }, // 74
	{ "JiJieHao", "EU", 1179 }, // 75
	{ "SPARTA", "EU", 1171 }, // 76
	{ "SemperFi", "AS", 1170 }, // 77
	{ "The Huns", "AS", 1163 }, // 78
	{ "QWENTRY", "EU", 1160 }, // 79
	{ "ex-RUBY", "EU", 1157 }, // 80
	{ "CYBERSHOKE", "EU", 1148 }, // 81
	{ "fnatic", "EU", 1147 }, // 82
	{ "Ursa", "EU", 1146 }, // 83
	{ "MOUZ NXT", "EU", 1144 }, // 84
	{ "NEXVOID", "AS", 1139 }, // 85
	{ "FAVBET", "EU", 1136 }, // 86
	{ "Sangal", "EU", 1129 }, // 87
	{ "Metizport", "EU", 1126 }, // 88
	{ "Phantom", "EU", 1122 }, // 89
	{ "Rebels", "EU", 1117 }, // 90
	{ "ESC", "EU", 1114 }, // 91
	{ "Galorys", "AM", 1112 }, // 92
	{ "KOLESIE", "EU", 1110 }, // 93
	{ "Bounty Hunters", "AM", 1107 }, // 94
	{ "ENCE", "EU", 1105 }, // 95
	{ "Chinggis Warriors", "AS", 1099 }, // 96
	{ "Rare Atom", "AS", 1095 }, // 97
	{ "Fake do Biru", "AM", 1092 }, // 98
	{ "5star", "AS", 1070 }, // 99
};

inline constexpr size_t DEFAULT_ROSTER_SIZE = sizeof(DEFAULT_ROSTER) / sizeof(DEFAULT_ROSTER[0]);

static_assert(DEFAULT_ROSTER_SIZE == 100, "the default roster has 100 teams");

} // namespace teamforge
