#pragma once

// The catalogue of the picture set: every group of pictures that share one canvas, with the canvas
// text that the files must carry.

#include <QStringList>
#include <QVector>

// Canvas text exactly as the files carry it; a null view box is not fixed by the catalogue.
struct Canvas
{
    const char* width;
    const char* height;
    const char* viewBox;
};

struct Group
{
    const char* name;
    Canvas canvas;
    QStringList files; // relative to images/
};

// Every picture the views show, by group.
const QVector<Group>& catalogue();
