#include "core/linebuilder/verbdocs.h"

std::vector<std::string> VerbParameterLabels(const TVerbFact &verb)
{
    std::vector<std::string> labels;
    for (size_t i = 0; i < verb.ParamKinds.size(); ++i)
    {
        const std::string &kind = verb.ParamKinds[i];
        const std::string name = i < verb.ParamNames.size() ? verb.ParamNames[i] : std::string();
        labels.push_back(name.empty() || SameNoCase(name, kind) ? kind : kind + " " + name);
    }
    return labels;
}

std::string VerbSignature(const TVerbFact &verb)
{
    std::string signature = verb.Returns == "none" ? std::string() : verb.Returns + " ";
    signature += verb.Name + "(";
    const std::vector<std::string> labels = VerbParameterLabels(verb);
    for (size_t i = 0; i < labels.size(); ++i)
        signature += (i ? ", " : "") + labels[i];
    return signature + ")";
}

std::string VerbGamesText(TVerbGame game)
{
    switch (game)
    {
    case TVerbGame::JK:
        return "Jedi Knight only";
    case TVerbGame::Mots:
        return "MOTS only";
    case TVerbGame::Both:
        break;
    }
    return "Jedi Knight and MOTS";
}
