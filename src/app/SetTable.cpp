#include "app/SetTable.h"

const std::vector<SetInfo> &setTable()
{
    using A = Activation;
    static const std::vector<SetInfo> table = {
        {u"thahyo1"_qs, u"bankZahyou1"_qs, u"座標問題1.txt"_qs, A::Standard},
        {u"thahyou2"_qs, u"bankZahyou2"_qs, u"座標問題2.txt"_qs, A::Standard},
        {u"zahyou3"_qs, u"bankZahyou3"_qs, u"座標問題3.txt"_qs, A::Standard},
        {u"nagasa"_qs, u"bankNagasa"_qs, u"長さ面積1.txt"_qs, A::Standard},
        {u"menseki1"_qs, u"bankMenseki1"_qs, u"長さ面積2.txt"_qs, A::Standard},
        {u"sanmen"_qs, u"bankSanmen"_qs, u"面積三角形1.txt"_qs, A::Standard},
        {u"enmenko"_qs, u"bankEnmenko"_qs, u"円の面積弧1.txt"_qs, A::Standard},
        {u"graread1"_qs, u"bankGraread1"_qs, u"1年関数読み書き1.txt"_qs, A::Standard},
        {u"graread2"_qs, u"bankGraread2"_qs, u"1年関数読み書き2.txt"_qs, A::Standard},
        {u"grawrite1"_qs, u"bankGrawrite1"_qs, u"1年関数読み書き3.txt"_qs, A::Standard},
        {u"grawrite2"_qs, u"bankGrawrite2"_qs, u"1年関数読み書き4.txt"_qs, A::Standard},
        {u"grerewri"_qs, u"bankGrerewri"_qs, u"1年関数読み書き5.txt"_qs, A::Standard},
        {u"senza1"_qs, u"bankSenza1"_qs, u"1年関応用1.txt"_qs, A::PointOnLine},
        {u"ouyou1"_qs, u"kansu1nouyo1"_qs, u"1年関数応用1.txt"_qs, A::ApplicationOrdered},
        {u"ouyou2"_qs, u"bankOuyou2"_qs, u"1年関数応2.txt"_qs, A::Application},
        {u"ouyou3"_qs, u"bankOuyou3"_qs, u"1年関数応3.txt"_qs, A::Application},
        {u"gra2read1"_qs, u"bankGra2read1"_qs, u"2年関数書き1.txt"_qs, A::Standard},
        {u"gra2read2"_qs, u"bankGra2read2"_qs, u"2年関数書き2.txt"_qs, A::Standard},
        {u"gura2wri3"_qs, u"bankGura2wri3"_qs, u"2年関数書き3.txt"_qs, A::Standard},
        {u"gurafukaki42n"_qs, u"bankGurafukaki42n"_qs, u"2年関数書き4.txt"_qs, A::Standard},
        {u"gra2write1"_qs, u"bankGra2write1"_qs, u"2年関数読み1.txt"_qs, A::Standard},
        {u"gra2write"_qs, u"bankGra2write"_qs, u"2年関数読み2.txt"_qs, A::StandardApplication},
        {u"gtyokusen1"_qs, u"bankGtyokusen1"_qs, u"2年関数読み3.txt"_qs, A::Standard},
        {u"gra2rewri2"_qs, u"bankGra2rewri2"_qs, u"2年関数読み4.txt"_qs, A::StandardApplication},
        {u"tyosenten2"_qs, u"gra2senzyou1"_qs, u"2年関応用5.txt"_qs, A::PointOnLineApplication},
    };
    return table;
}

const SetInfo *findSet(const QString &item)
{
    for (const SetInfo &s : setTable())
        if (s.item == item)
            return &s;
    return nullptr;
}
