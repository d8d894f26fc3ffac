#include "cKelvariFonts.h"

const QMap<QString, QString> cKelvariFonts::mFontCodesToNames{
    {QStringLiteral("lato"), QStringLiteral("Lato")},
    {QStringLiteral("andada"), QStringLiteral("Andada")},
    {QStringLiteral("belgrano"), QStringLiteral("Belgrano")},
    {QStringLiteral("breeserif"), QStringLiteral("Bree Serif")},
    {QStringLiteral("encodesans"), QStringLiteral("Encode Sans")},
    {QStringLiteral("exo2"), QStringLiteral("Exo 2")},
    {QStringLiteral("fjordone"), QStringLiteral("Fjord One")},
    {QStringLiteral("glegoo"), QStringLiteral("Glegoo")},
    {QStringLiteral("martelsans"), QStringLiteral("Martel Sans")},
    {QStringLiteral("mina"), QStringLiteral("Mina")},
    {QStringLiteral("crimsontext"), QStringLiteral("Crimson Text")},
    {QStringLiteral("ibmplexmono"), QStringLiteral("IBM Plex Mono")},
    {QStringLiteral("koho"), QStringLiteral("Ko-Ho")},
    {QStringLiteral("shadowsintolight"), QStringLiteral("Shadows Into Light")},
    {QStringLiteral("poiretone"), QStringLiteral("Poiret One")},
    {QStringLiteral("blackhansans"), QStringLiteral("Black Han Sans")},
    {QStringLiteral("anticsans"), QStringLiteral("Antic Sans")},
    {QStringLiteral("amaticsc"), QStringLiteral("Amatic SC")},
};

const QString cKelvariFonts::mDefaultFontCode = QStringLiteral("lato");
