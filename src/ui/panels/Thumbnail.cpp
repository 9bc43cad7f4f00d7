#include "ui/panels/Thumbnail.h"

Thumbnail::Thumbnail(QWidget* parent) : Window(parent)
{
    hide();
    setEnabled(false);
}
