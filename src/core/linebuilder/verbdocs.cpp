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

std::vector<std::string> VerbParameterWords(const TVerbFact &verb)
{
    std::vector<std::string> words;
    for (size_t i = 0; i < verb.ParamKinds.size(); ++i)
    {
        std::string word = i < verb.ParamNames.size() ? verb.ParamNames[i] : verb.ParamKinds[i];
        std::erase(word, '*');
        if (word.starts_with('.'))
            word.erase(0, 1);
        words.push_back(std::move(word));
    }
    return words;
}

std::vector<TTextSpan> VerbParameterSpans(const TVerbFact &verb)
{
    std::vector<TTextSpan> spans;
    size_t at = VerbSignature(verb).find('(') + 1;
    for (const std::string &label : VerbParameterLabels(verb))
    {
        spans.push_back({at, label.size()});
        at += label.size() + 2;
    }
    return spans;
}
